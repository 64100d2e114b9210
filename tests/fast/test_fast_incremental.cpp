// The fast engine's incremental calls against CaDiCaL's: random sequences
// of clause additions (new variables among them, eliminated ones too) and
// solves under random assumptions. Every SAT model is checked against every clause and
// assumption, every failed core must be a subset of the assumptions that
// CaDiCaL refutes on its own, the learn callback gives only clauses
// that follow from the formula, and one proof of every call checks against
// every clause given.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "tests/fast/fast_support.h"
#include "tools/drat_check.h"
#include "tools/lrat_check.h"
#include "tools/oracle.h"

#ifdef VETRIX_HAVE_CADICAL
extern "C" {
#include <ccadical.h>
}
#endif

namespace {

using vetrix::fast::Engine;

#ifdef VETRIX_HAVE_CADICAL

struct Peer {
    CCaDiCaL *s = ccadical_init();
    ~Peer() { ccadical_release(s); }
    void add(const cnfgen::Clauses &clauses) {
        for (const cnfgen::Clause &c : clauses) {
            for (int lit : c)
                ccadical_add(s, lit);
            ccadical_add(s, 0);
        }
    }
    int solve(const std::vector<int> &assumptions) {
        for (int lit : assumptions)
            ccadical_assume(s, lit);
        return ccadical_solve(s);
    }
};

cnfgen::Clause random_clause(cnfgen::Rng &rng, int nb_var) {
    cnfgen::Clause c;
    const int size = 1 + rng.below(4);
    for (int k = 0; k < size; ++k)
        c.push_back((1 + rng.below(nb_var)) * (rng.percent(50) ? 1 : -1));
    return c;
}

void check_call(Engine &engine, Peer &peer, const cnfgen::Clauses &all, int nb_var,
                const std::vector<int> &assumptions, int verdict, const std::string &what) {
    const int expected = peer.solve(assumptions);
    ASSERT_EQ(verdict, expected) << what;
    if (verdict == 10) {
        std::vector<bool> truth = fasttest::model_of(engine, nb_var);
        EXPECT_TRUE(cnfgen::satisfies(all, truth)) << what;
        for (int lit : assumptions)
            EXPECT_EQ(engine.value(lit), lit) << what << ": assumption " << lit;
        return;
    }
    std::vector<int> core;
    for (int lit : assumptions)
        if (engine.failed(lit))
            core.push_back(lit);
    EXPECT_EQ(peer.solve(core), 20) << what << ": the failed assumptions are no core";
}

TEST(FastIncremental, RandomCallSequencesAgreeWithCaDiCaL) {
    int64_t eliminated = 0, restored = 0, subsumed = 0;
    for (uint64_t seed = 1; seed <= 200; ++seed) {
        cnfgen::Rng rng(seed * 7919);
        // every fifth is large enough for subsumption rounds between calls, and has them on
        // (with DRAT and with LRAT)
        int nb_var = seed % 5 == 0 ? 150 + rng.below(30) : 20 + rng.below(60);
        // every other formula has root facts that shorten its clauses
        cnfgen::Formula f = seed % 2 ? cnfgen::uniform_ksat(rng, nb_var, 3, 300 + rng.below(100))
                                     : cnfgen::padded_ksat(rng, nb_var, 360 + rng.below(100));
        nb_var = f.nb_var;
        std::ostringstream proof; // outlives the engine, which flushes into it when it ends
        Engine engine;
        const bool lrat = seed % 2 == 1; // text and binary, DRAT and LRAT
        engine.set_option("subsume", seed % 5 == 0 ? 1 : 0);
        engine.set_option("queue", seed % 3 == 0 ? 1 : 0);
        engine.set_proof(proof, seed % 4 >= 2, lrat);
        Peer peer;
        cnfgen::Clauses all = f.clauses;
        fasttest::add_clauses(engine, f.clauses);
        peer.add(f.clauses);
        for (int call = 0; call < 25; ++call) {
            cnfgen::Clauses more;
            if (rng.percent(20))
                nb_var += 1 + rng.below(5); // new variables appear in later clauses
            for (int k = rng.below(4); k > 0; --k)
                more.push_back(random_clause(rng, nb_var));
            fasttest::add_clauses(engine, more);
            peer.add(more);
            all.insert(all.end(), more.begin(), more.end());
            std::vector<int> assumptions;
            for (int k = rng.below(8); k > 0; --k) {
                const int lit = (1 + rng.below(nb_var)) * (rng.percent(50) ? 1 : -1);
                assumptions.push_back(lit);
                engine.assume(lit);
            }
            const int verdict = engine.solve();
            check_call(engine, peer, all, nb_var, assumptions, verdict,
                       "seed " + std::to_string(seed) + " call " + std::to_string(call));
            if (verdict == 20 && assumptions.empty())
                break; // unsatisfiable for good
        }
        engine.flush_proof();
        if (lrat) {
            const lratcheck::Verdict checked = lratcheck::check_proof(all, proof.str());
            EXPECT_TRUE(checked.valid) << "seed " << seed << " (LRAT): " << checked.error;
        } else {
            const dratcheck::Verdict checked = dratcheck::check_proof(all, proof.str());
            EXPECT_TRUE(checked.valid) << "seed " << seed << ": " << checked.error;
        }
        eliminated += engine.stats().eliminated;
        restored += engine.stats().restored;
        subsumed += engine.stats().subsumed + engine.stats().strengthened;
    }
    // the sequences reach elimination, the return of eliminated clauses and subsumption
    EXPECT_GT(eliminated, 0);
    EXPECT_GT(restored, 0);
    EXPECT_GT(subsumed, 0);
}

// An assumption already true opens an empty level of its own, so a search
// under a repeated one learns at levels beyond the variable count (the
// table of levels once overflowed there: the sanitized suite saw it).
TEST(FastIncremental, RepeatedAssumptionsReachMoreLevelsThanVariables) {
    Engine engine;
    engine.set_option("eliminate", 0); // else 2 and 3 go, and -1 fails without a search
    fasttest::add_clauses(engine, {{1, 2, 3}, {1, 2, -3}, {1, -2, 3}, {1, -2, -3}});
    for (int k = 0; k < 12; ++k)
        engine.assume(-1);
    EXPECT_EQ(engine.solve(), 20);
    EXPECT_TRUE(engine.failed(-1));
    EXPECT_EQ(engine.solve(), 10);
}

// Each learnt clause follows from the formula: CaDiCaL refutes the formula
// under the clause's negation.
TEST(FastIncremental, LearntClausesFollowFromTheFormula) {
    cnfgen::Rng rng(99);
    const cnfgen::Formula f = cnfgen::uniform_ksat(rng, 80, 3, 430);
    Engine engine;
    std::vector<std::vector<int>> learnt;
    engine.set_learn(3, [&learnt](const int *lits, int size) {
        if (learnt.size() < 200)
            learnt.emplace_back(lits, lits + size);
    });
    fasttest::add_clauses(engine, f.clauses);
    const int verdict = engine.solve();
    EXPECT_NE(verdict, 0);
    ASSERT_FALSE(learnt.empty());
    for (const std::vector<int> &c : learnt) {
        EXPECT_LE(c.size(), 3u);
        Peer peer;
        peer.add(f.clauses);
        std::vector<int> negation;
        for (int lit : c)
            negation.push_back(-lit);
        EXPECT_EQ(peer.solve(negation), 20);
    }
}

#else

TEST(FastIncremental, RandomCallSequencesAgreeWithCaDiCaL) {
    GTEST_SKIP() << "skipped: libcadical.a (libcadical-dev) not found";
}

#endif

} // namespace
