// fast_solve: the fast engine on one DIMACS CNF file, read by the project's
// reader, with the competition's output: "s SATISFIABLE" and v lines,
// "s UNSATISFIABLE" or "s UNKNOWN"; exit status 10, 20 or 0 as the SAT
// competitions ask. Counters go to standard error.
//
//   fast_solve FILE [--proof=PROOF] [--binary-proof] [--conflicts=N] [--quiet] [--SWITCH=0|1]
//
// SWITCH: one of the engine's switches (eliminate, probe, subsume, vivify,
// minimize, stable, rephase), for ablation runs.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

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
    const struct {
        const char *name;
        int64_t value;
    } lines[] = {{"conflicts", s.conflicts},       {"decisions", s.decisions},
                 {"propagations", s.propagations}, {"watch_visits", s.watch_visits},
                 {"restarts", s.restarts},         {"stable_restarts", s.stable_restarts},
                 {"mode_switches", s.mode_switches}, {"rephases", s.rephases},
                 {"reductions", s.reductions},     {"collections", s.collections},
                 {"learnt_literals", s.learnt_literals}, {"minimized_literals", s.minimized_literals},
                 {"fixed", s.fixed},               {"removed_clauses", s.removed_clauses},
                 {"probe_rounds", s.probe_rounds}, {"failed_literals", s.failed_literals},
                 {"subsume_rounds", s.subsume_rounds}, {"subsumed", s.subsumed},
                 {"strengthened", s.strengthened}, {"vivify_rounds", s.vivify_rounds}, {"vivified", s.vivified},
                 {"eliminations", s.eliminations}, {"eliminated", s.eliminated},
                 {"restored", s.restored}};
    for (const auto &l : lines)
        std::fprintf(stderr, "c %s: %lld\n", l.name, static_cast<long long>(l.value));
}

} // namespace

int main(int argc, char **argv) {
    const char *file = nullptr, *proof_name = nullptr;
    bool binary = false, quiet = false;
    fast::Limits limits;
    std::vector<std::string> switches; // NAME=0|1, the engine's switches
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--proof=", 8) == 0)
            proof_name = argv[i] + 8;
        else if (std::strcmp(argv[i], "--binary-proof") == 0)
            binary = true;
        else if (std::strncmp(argv[i], "--conflicts=", 12) == 0)
            limits.conflicts = std::atoll(argv[i] + 12);
        else if (std::strcmp(argv[i], "--quiet") == 0)
            quiet = true;
        else if (std::strncmp(argv[i], "--", 2) == 0 && std::strchr(argv[i], '='))
            switches.push_back(argv[i] + 2);
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
        for (const std::string &s : switches) {
            const size_t at = s.find('=');
            if (!engine.set_option(s.substr(0, at).c_str(), std::atoi(s.c_str() + at + 1))) {
                std::fprintf(stderr, "unknown option or bad value: --%s\n", s.c_str());
                return 1;
            }
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
