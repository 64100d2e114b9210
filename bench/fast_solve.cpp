// fast_solve: the fast engine on one DIMACS CNF file, read by the project's
// reader, with the competition's output: "s SATISFIABLE" and v lines,
// "s UNSATISFIABLE" or "s UNKNOWN"; exit status 10, 20 or 0 as the SAT
// competitions ask. Counters go to standard error.
//
//   fast_solve FILE [--proof=PROOF] [--binary-proof] [--conflicts=N] [--quiet]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <memory>
#include <string>

#include "reader/raspok1.h"
#include "solver/fast/fast.h"
#include "support/input_file.h"
#include "support/literal.h"

using namespace vetrix;

namespace {

void print_model(const fast::Engine &engine, int nb_var) {
    std::string line = "v";
    for (int v = 1; v <= nb_var; ++v) {
        line += ' ';
        line += std::to_string(engine.value(v));
        if (line.size() > 70) {
            std::printf("%s\n", line.c_str());
            line = "v";
        }
    }
    std::printf("%s 0\n", line.c_str());
}

void print_stats(const fast::Stats &s) {
    std::fprintf(stderr,
                 "c conflicts: %lld\nc decisions: %lld\nc propagations: %lld\nc watch_visits: %lld\n"
                 "c restarts: %lld (stable %lld)\nc mode_switches: %lld\nc rephases: %lld\n"
                 "c reductions: %lld\nc collections: %lld\nc learnt_literals: %lld\n"
                 "c minimized_literals: %lld\nc fixed: %lld\n",
                 (long long)s.conflicts, (long long)s.decisions, (long long)s.propagations,
                 (long long)s.watch_visits, (long long)s.restarts, (long long)s.stable_restarts,
                 (long long)s.mode_switches, (long long)s.rephases, (long long)s.reductions,
                 (long long)s.collections, (long long)s.learnt_literals, (long long)s.minimized_literals,
                 (long long)s.fixed);
}

} // namespace

int main(int argc, char **argv) {
    const char *file = nullptr, *proof_name = nullptr;
    bool binary = false, quiet = false;
    fast::Limits limits;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--proof=", 8) == 0)
            proof_name = argv[i] + 8;
        else if (std::strcmp(argv[i], "--binary-proof") == 0)
            binary = true;
        else if (std::strncmp(argv[i], "--conflicts=", 12) == 0)
            limits.conflicts = std::atoll(argv[i] + 12);
        else if (std::strcmp(argv[i], "--quiet") == 0)
            quiet = true;
        else
            file = argv[i];
    }
    if (!file) {
        std::fprintf(stderr, "usage: fast_solve FILE [--proof=PROOF] [--binary-proof] [--conflicts=N] [--quiet]\n");
        return 1;
    }
    try {
        Formula formula;
        int nb_var = 0;
        {
            InputFile input(file);
            if (!raspok_dnf(input.text(), formula, nb_var)) {
                std::fprintf(stderr, "something went wrong\n");
                return 1;
            }
        }
        std::unique_ptr<std::ofstream> proof;
        fast::Engine engine;
        if (proof_name) {
            proof.reset(new std::ofstream(proof_name, std::ios::binary));
            engine.set_proof(*proof, binary);
        }
        engine.reserve(nb_var);
        if (formula.has_empty_clause())
            engine.add(0);
        for (int i = 0; i < formula.clause_count(); ++i) {
            for (const int *c = formula.clause_begin(i); c != formula.clause_end(i); ++c)
                engine.add(code_to_dimacs(*c));
            engine.add(0);
        }
        formula.clear();
        const int verdict = engine.solve(limits);
        engine.flush_proof();
        if (verdict == 10) {
            std::printf("s SATISFIABLE\n");
            if (!quiet)
                print_model(engine, nb_var);
        } else {
            std::printf(verdict == 20 ? "s UNSATISFIABLE\n" : "s UNKNOWN\n");
        }
        print_stats(engine.stats());
        return verdict;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
