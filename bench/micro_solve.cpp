// micro_solve: Google Benchmark timings of the solver on medium-tier
// instances of the benchmark corpus.
//
// Each benchmark reads one instance once, then times solve_formula on a fresh
// copy of the formula per iteration (the copy is made outside the timed
// region). Counters: instances/s, and decisions/s and conflicts/s from one
// untimed counting solve that runs the same pass loop as solve_formula and
// reads the state's counters (nb_node: levels opened; recipe_len_nb: recipes
// learnt, one per conflict).
//
// The corpus directory comes from VETRIX_CORPUS, like every other bench
// script; by default ../shared/bench, i.e. beside the repository when run
// from its root.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "reader/raspok1.h"
#include "support/input_file.h"
#include "solver/base_m456.h"

using namespace vetrix;

namespace {

std::string corpus_dir() {
    const char *d = std::getenv("VETRIX_CORPUS");
    return d && *d ? d : "../shared/bench";
}

bool read_formula(const std::string &path, Formula &formula, int &nb_var) {
    InputFile input(path.c_str());
    return raspok_dnf(input.text(), formula, nb_var);
}

void copy_formula(const Formula &from, Formula &to) {
    for (int i = 0; i < from.clause_count(); ++i) {
        for (const int *c = from.clause_begin(i); c != from.clause_end(i); ++c)
            to.add_code(*c);
        to.close_clause();
    }
}

struct Counts {
    long long decisions = 0;
    long long conflicts = 0;
    std::string verdict;
};

// An untimed solve through the same loader and pass loop as solve_formula,
// keeping the state to read its counters.
Counts count_solve(Formula &formula, int nb_var, int strategy) {
    Counts c;
    if (formula.has_empty_clause()) {
        c.verdict = "UNSAT";
        return c;
    }
    CHpGN56 s(formula, nb_var, strategy);
    load_cube_base(formula, s);
    run_passes(s);
    c.decisions = s.nb_node;
    for (int n = 0; n <= s.nb_var; ++n)
        c.conflicts += s.recipe_len_nb[n];
    c.verdict = s.result == RESULT_SAT ? "SAT" : s.result == RESULT_UNSAT ? "UNSAT" : "UNDECIDED";
    return c;
}

void BM_solve(benchmark::State &state, const std::string &rel, int strategy) {
    Formula original;
    int nb_var = 0;
    if (!read_formula(corpus_dir() + "/" + rel, original, nb_var)) {
        state.SkipWithError(("cannot read " + rel).c_str());
        return;
    }
    Counts counts;
    {
        Formula formula;
        copy_formula(original, formula);
        counts = count_solve(formula, nb_var, strategy);
    }
    long long solves = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Formula formula;
        copy_formula(original, formula);
        state.ResumeTiming();
        SolveOutcome out = solve_formula(formula, nb_var, strategy);
        benchmark::DoNotOptimize(out.model.data());
        ++solves;
    }
    state.SetLabel(counts.verdict);
    state.counters["instances/s"] = benchmark::Counter(static_cast<double>(solves), benchmark::Counter::kIsRate);
    state.counters["decisions/s"] =
        benchmark::Counter(static_cast<double>(counts.decisions * solves), benchmark::Counter::kIsRate);
    state.counters["conflicts/s"] =
        benchmark::Counter(static_cast<double>(counts.conflicts * solves), benchmark::Counter::kIsRate);
    state.counters["decisions"] = static_cast<double>(counts.decisions);
    state.counters["conflicts"] = static_cast<double>(counts.conflicts);
}

// Medium-tier instances that every strategy solves in well under a second.
const char *const kInstances[] = {
    "uf150/uf150-01.cnf",  // random 3-SAT, satisfiable
    "uuf100/uuf100-01.cnf", // random 3-SAT, unsatisfiable
    "flat/flat150-3.cnf",  // graph colouring
    "bmc/bmc-ibm-5.cnf",   // bounded model checking
    "hole/hole7.cnf",      // pigeon holes, unsatisfiable
};

int register_all() {
    for (const char *rel : kInstances)
        for (int strategy = 0; strategy <= 2; ++strategy)
            benchmark::RegisterBenchmark((std::string("solve/") + rel + "/s" + std::to_string(strategy)).c_str(),
                                         [rel, strategy](benchmark::State &st) { BM_solve(st, rel, strategy); })
                ->Unit(benchmark::kMillisecond);
    return 0;
}
const int registered = register_all();

} // namespace

BENCHMARK_MAIN();
