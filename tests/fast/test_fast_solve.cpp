// The fast engine on whole formulas: verdicts against MiniSat and exhaustive
// search, every model checked by the independent oracle, every refutation's
// DRAT or LRAT proof checked by the independent checkers, and the same
// answer on every run, with a proof or without.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "tests/fast/fast_support.h"
#include "tests/support/harness.h"
#include "tools/drat_check.h"
#include "tools/lrat_check.h"
#include "tools/oracle.h"

namespace fasttest {

int minisat_verdict(int nb_var, const cnfgen::Clauses &clauses, const std::string &path) {
    static const bool have = std::system("minisat --help >/dev/null 2>&1") != 127 * 256;
    if (!have)
        return 0;
    {
        std::ofstream out(path);
        out << cnfgen::render_plain(nb_var, clauses);
    }
    const int status = std::system(("minisat -verb=0 " + path + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace fasttest

namespace {

using vetrix::fast::Engine;

// One generated formula solved with a proof of kind (0 DRAT, 1 binary DRAT,
// 2 LRAT, 3 binary LRAT); the model or the proof checked. Returns the verdict.
int solve_checked(const cnfgen::Formula &f, int kind, const std::string &what, const char *switch_name = nullptr,
                  int switch_value = 0) {
    std::ostringstream proof;
    Engine engine;
    if (switch_name) {
        EXPECT_TRUE(engine.set_option(switch_name, switch_value)) << switch_name;
    }
    const bool lrat = kind >= 2;
    engine.set_proof(proof, kind % 2 == 1, lrat);
    fasttest::add_clauses(engine, f.clauses);
    const int verdict = engine.solve();
    engine.flush_proof();
    EXPECT_TRUE(verdict == 10 || verdict == 20) << what;
    if (verdict == 10) {
        EXPECT_TRUE(cnfgen::satisfies(f.clauses, fasttest::model_of(engine, f.nb_var))) << what;
    }
    if (lrat) {
        const lratcheck::Verdict checked = lratcheck::check_proof(f.clauses, proof.str());
        EXPECT_TRUE(checked.valid) << what << " (LRAT): " << checked.error;
        EXPECT_EQ(checked.refuted, verdict == 20) << what;
    } else {
        const dratcheck::Verdict checked = dratcheck::check_proof(f.clauses, proof.str());
        EXPECT_TRUE(checked.valid) << what << ": " << checked.error;
        EXPECT_EQ(checked.refuted, verdict == 20) << what;
    }
    if (f.expect != cnfgen::Expect::Unknown) {
        EXPECT_EQ(verdict, f.expect == cnfgen::Expect::Sat ? 10 : 20) << what;
    }
    return verdict;
}

// Random formulas of every family the generator knows, around the
// threshold; small ones against exhaustive search, the others against
// MiniSat.
TEST(FastSolve, RandomFormulasAgreeWithPeers) {
    harness::ScratchDir dir;
    const std::string path = dir.path("f.cnf");
    int sat = 0, unsat = 0;
    for (uint64_t seed = 1; seed <= 240; ++seed) {
        cnfgen::Rng rng(seed);
        cnfgen::Formula f;
        const int pick = static_cast<int>(seed % 6);
        const int n = 12 + rng.below(120);
        if (pick == 0)
            f = cnfgen::uniform_ksat(rng, n, 3, 400 + rng.below(60));
        else if (pick == 1)
            f = cnfgen::planted_ksat(rng, n, 3, 420);
        else if (pick == 2)
            f = cnfgen::padded_ksat(rng, 10 + rng.below(40), 430);
        else if (pick == 3)
            f = cnfgen::xor_chains(rng, 4 + rng.below(10), rng.percent(50));
        else if (pick == 4)
            f = cnfgen::pigeonhole(3 + rng.below(4));
        else
            f = cnfgen::uniform_ksat(rng, n / 4 + 5, 4 + rng.below(2), 900);
        if (rng.percent(30))
            cnfgen::add_quirks(rng, f, cnfgen::Quirks{true, rng.percent(10)});
        const std::string what = "seed " + std::to_string(seed) + " family " + std::to_string(pick);
        const int verdict = solve_checked(f, static_cast<int>(seed % 4), what);
        (verdict == 10 ? sat : unsat)++;
        if (f.nb_var <= cnfgen::kBruteForceMaxVars) {
            EXPECT_EQ(verdict == 10, cnfgen::brute_force_sat(f.nb_var, f.clauses)) << what;
        } else {
            const int peer = fasttest::minisat_verdict(f.nb_var, f.clauses, path);
            if (peer) {
                EXPECT_EQ(verdict, peer) << what << " (MiniSat)";
            }
        }
    }
    EXPECT_GT(sat, 40);
    EXPECT_GT(unsat, 40);
}

// Large enough to reduce, collect, rephase and switch modes several times.
TEST(FastSolve, LongSearchesKeepTheirProofs) {
    for (uint64_t seed = 1; seed <= 3; ++seed) {
        cnfgen::Rng rng(seed);
        const cnfgen::Formula f = cnfgen::uniform_ksat(rng, 190, 3, 426);
        solve_checked(f, static_cast<int>(seed), "ksat 190 seed " + std::to_string(seed));
    }
    solve_checked(cnfgen::pigeonhole(8), 0, "php 8");
    solve_checked(cnfgen::pigeonhole(8), 2, "php 8");
}

// Every switch turned from its default (for measurements; probing,
// subsumption and the queue are off by default): the search stays correct.
TEST(FastSolve, EachSwitchTurnedStaysCorrect) {
    const std::pair<const char *, int> turned[] = {{"eliminate", 0}, {"probe", 1},  {"subsume", 1}, {"vivify", 0},
                                                   {"minimize", 0},  {"stable", 0}, {"rephase", 0}, {"queue", 1}};
    for (const auto &s : turned) {
        for (uint64_t seed = 1; seed <= 12; ++seed) {
            cnfgen::Rng rng(seed);
            const cnfgen::Formula f = seed % 3 == 0 ? cnfgen::pigeonhole(6)
                                                    : cnfgen::uniform_ksat(rng, 100 + rng.below(60), 3, 426);
            solve_checked(f, static_cast<int>(seed % 4), std::string(s.first) + " seed " + std::to_string(seed),
                          s.first, s.second);
        }
    }
    Engine engine;
    EXPECT_FALSE(engine.set_option("probe", 2));
    EXPECT_FALSE(engine.set_option("no such switch", 0));
}

// The second run writes an LRAT proof: the proof does not change the search.
TEST(FastSolve, EveryRunGivesTheSameModelAndCounters) {
    cnfgen::Rng rng(7);
    const cnfgen::Formula f = cnfgen::planted_ksat(rng, 300, 3, 420);
    std::vector<bool> first;
    int64_t conflicts = -1;
    for (int run = 0; run < 2; ++run) {
        std::ostringstream proof;
        Engine engine;
        if (run == 1)
            engine.set_proof(proof, false, true);
        fasttest::add_clauses(engine, f.clauses);
        ASSERT_EQ(engine.solve(), 10);
        const std::vector<bool> model = fasttest::model_of(engine, f.nb_var);
        if (run == 0) {
            first = model;
            conflicts = engine.stats().conflicts;
        } else {
            EXPECT_EQ(model, first);
            EXPECT_EQ(engine.stats().conflicts, conflicts);
        }
    }
}

// Limits and terminate stop the search with 0; the engine then goes on.
// Progress comes every period conflicts.
TEST(FastSolve, LimitsAndTerminateStopAndTheSolverGoesOn) {
    const cnfgen::Formula f = cnfgen::pigeonhole(8);
    Engine engine;
    int64_t reports = 0, last = 0;
    engine.set_progress(100, [&](const vetrix::fast::Progress &p) {
        EXPECT_GE(p.conflicts, last + 100);
        last = p.conflicts;
        ++reports;
    });
    fasttest::add_clauses(engine, f.clauses);
    vetrix::fast::Limits limits;
    limits.conflicts = 50;
    EXPECT_EQ(engine.solve(limits), 0);
    EXPECT_LE(engine.stats().conflicts, 50);
    limits = vetrix::fast::Limits();
    limits.decisions = 10;
    EXPECT_EQ(engine.solve(limits), 0);
    int polls = 0;
    engine.set_terminate([&polls] { return ++polls > 3; });
    EXPECT_EQ(engine.solve(), 0);
    engine.set_terminate(nullptr);
    EXPECT_EQ(engine.solve(), 20);
    EXPECT_GE(reports, engine.stats().conflicts / 100 - 4); // at most one period lost per call
}

} // namespace
