// call_fuzz: the seeded driver of the call-sequence fuzzer.
//
//   call_fuzz [--seeds=FIRST-LAST] [--seconds=S] [--out=DIR] [--vetrix=PROGRAM] [FILE.cnf|FOLDER ...]
//
// Runs the sequences of the seeds FIRST to LAST (default 1-300) and checks
// each call against CaDiCaL; each FILE (or FOLDER/*.cnf), an incremental
// CNF, is replayed under every strategy, warm and cold, through
// vetrix::Solver and IPASIR, and with --vetrix by that command line under
// each strategy. With --seconds the seeds stop after S seconds.
// A failing sequence is written to DIR/calls-SEED.cnf (default: the current
// folder), which `vetrix DIR/calls-SEED.cnf N` replays; a sequence that
// crashes the process stays in DIR/calls-running.cnf. Prints what was
// checked and the calls per second on standard error; exit status 0 when
// every check held, 1 otherwise, 2 on a bad argument.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <vetrix/ipasir.h>
#include <vetrix/strategy.h>

#include "tools/call_fuzz.h"

namespace {

// The files named, a folder standing for its *.cnf files in name order.
std::vector<std::string> expand(const std::vector<std::string> &args) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    for (const std::string &arg : args) {
        if (!fs::is_directory(arg)) {
            files.push_back(arg);
            continue;
        }
        std::vector<std::string> inside;
        for (const fs::directory_entry &e : fs::directory_iterator(arg))
            if (e.path().extension() == ".cnf")
                inside.push_back(e.path().string());
        std::sort(inside.begin(), inside.end());
        files.insert(files.end(), inside.begin(), inside.end());
    }
    return files;
}

// What `vetrix path n` prints on standard output.
std::string printed_by(const std::string &vetrix, const std::string &path, int n) {
    const std::string strategy = n == vetrix::FAST_STRATEGY ? "--strategy=fast" : std::to_string(n);
    const std::string command = "'" + vetrix + "' '" + path + "' " + strategy;
    std::string out;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buf[4096];
        for (size_t got; (got = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
            out.append(buf, got);
        pclose(pipe);
    }
    return out;
}

bool replay(const std::string &path, const std::string &vetrix, callfuzz::Tally &tally) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    callfuzz::Sequence sequence;
    if (!in || !callfuzz::from_inccnf(text.str(), sequence)) {
        std::fprintf(stderr, "call_fuzz: cannot read %s\n", path.c_str());
        return false;
    }
    bool ok = true;
    for (int run = 0; run < 16; ++run) {
        sequence.strategy = run % 4; // 3: the fast engine
        sequence.warm = run / 4 % 2 != 0;
        sequence.ipasir = run >= 8;
        const std::string fault = callfuzz::check(sequence, tally);
        if (!fault.empty()) {
            std::fprintf(stderr, "call_fuzz: %s, strategy %d, warm %d, %s: %s\n", path.c_str(), sequence.strategy,
                         sequence.warm, sequence.ipasir ? "IPASIR" : "vetrix::Solver", fault.c_str());
            ok = false;
        }
    }
    for (int n = 0; n <= vetrix::FAST_STRATEGY && !vetrix.empty(); ++n) {
        const std::string fault = callfuzz::check_printed(sequence, printed_by(vetrix, path, n), tally);
        if (!fault.empty()) {
            std::fprintf(stderr, "call_fuzz: %s %s %d: %s\n", vetrix.c_str(), path.c_str(), n, fault.c_str());
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    unsigned long long first = 1, last = 300;
    std::string out = ".", vetrix;
    double seconds_max = 0; // 0: no bound
    std::vector<std::string> files;
    for (int k = 1; k < argc; ++k) {
        const char *arg = argv[k];
        if (std::strncmp(arg, "--seeds=", 8) == 0) {
            if (std::sscanf(arg + 8, "%llu-%llu", &first, &last) != 2 || first > last) {
                std::fprintf(stderr, "call_fuzz: bad seed range %s\n", arg + 8);
                return 2;
            }
        } else if (std::strncmp(arg, "--seconds=", 10) == 0) {
            seconds_max = std::atof(arg + 10);
        } else if (std::strncmp(arg, "--vetrix=", 9) == 0) {
            vetrix = arg + 9;
        } else if (std::strncmp(arg, "--out=", 6) == 0) {
            out = arg + 6;
        } else if (arg[0] == '-') {
            std::fprintf(stderr, "usage: call_fuzz [--seeds=FIRST-LAST] [--seconds=S] [--out=DIR] [--vetrix=PROGRAM] [FILE.cnf|FOLDER ...]\n");
            return 2;
        } else {
            files.push_back(arg);
        }
    }
    // CaDiCaL's library defines the IPASIR calls too: they must be vetrix's.
    if (std::strncmp(ipasir_signature(), "vetrix", 6) != 0) {
        std::fprintf(stderr, "call_fuzz: the IPASIR calls are %s's, not vetrix's\n", ipasir_signature());
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    callfuzz::Tally tally;
    bool ok = true;
    files = expand(files);
    for (const std::string &f : files)
        ok = replay(f, vetrix, tally) && ok;
    int failures = 0;
    const std::string running = out + "/calls-running.cnf";
    unsigned long long seed = first;
    for (; seed <= last; ++seed) {
        if (seconds_max > 0 && seed % 64 == 0 &&
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds_max)
            break;
        callfuzz::Choices choices(seed);
        const callfuzz::Sequence sequence = callfuzz::random_sequence(choices);
        const std::string text = "c seed " + std::to_string(seed) + "\n" + callfuzz::to_inccnf(sequence);
        std::ofstream(running) << text; // left behind by a crash
        const std::string fault = callfuzz::check(sequence, tally);
        if (fault.empty())
            continue;
        ok = false;
        const std::string path = out + "/calls-" + std::to_string(seed) + ".cnf";
        std::ofstream(path) << text;
        std::fprintf(stderr, "call_fuzz: seed %llu: %s (written to %s)\n", seed, fault.c_str(), path.c_str());
        if (++failures == 20)
            break;
    }
    std::remove(running.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr,
                 "call_fuzz: seeds %llu-%llu, %zu files: %llu calls checked (%llu unknown under a limit), %llu models, "
                 "%llu failed sets, %llu learnt clauses; %.1f s, %.0f calls/s\n",
                 first, seed > last ? last : seed, files.size(), static_cast<unsigned long long>(tally.calls),
                 static_cast<unsigned long long>(tally.unknown), static_cast<unsigned long long>(tally.models),
                 static_cast<unsigned long long>(tally.cores), static_cast<unsigned long long>(tally.learnt), seconds,
                 seconds > 0 ? static_cast<double>(tally.calls) / seconds : 0.0);
    return ok ? 0 : 1;
}
