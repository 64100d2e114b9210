// Whole solves (the pass loop) of formulas small enough to trace by hand:
// verdicts, printed models, the refutation by complementary units and the
// counters of a traced run.
#include <gtest/gtest.h>

#include <string>

#include "support/answer_lines.h"
#include "support/solver_fixtures.h"

using namespace vetrix;

namespace {

using namespace solver_fixtures;

std::string solve(const Codes &cubes, int nb_var, int strategy) {
    Formula formula;
    fill_formula(formula, cubes);
    const SolveOutcome outcome = solve_formula(formula, nb_var, strategy);
    return answer_lines(outcome.verdict, outcome.model);
}

TEST(Solve, NoClauses) {
    // Strategies 0 and 1: equal activities and zero weights, so the highest
    // free variable's odd code (true) while keyac is 1. Strategy 2: the
    // lowest free variable's even code (false).
    EXPECT_EQ(solve({}, 3, 0), "s SATISFIABLE\nv 1 2 3 0\n");
    EXPECT_EQ(solve({}, 3, 1), "s SATISFIABLE\nv 1 2 3 0\n");
    EXPECT_EQ(solve({}, 3, 2), "s SATISFIABLE\nv 0\n");
    EXPECT_EQ(solve({}, 0, 0), "s SATISFIABLE\nv 0\n");
}

TEST(Solve, UnitConflictIsUnsatisfiable) {
    // x1 and -x1: cubes {0} and {1}.
    for (int strategy : {0, 1, 2})
        EXPECT_EQ(solve({{0}, {1}}, 1, strategy), "s UNSATISFIABLE\n") << strategy;
}

// Strategy 2 decides code 0 first. When the first cubes watching codes 0
// and 1 are their unit cubes, that decision takes the search to the
// tautology at once.
TEST(Solve, UnitPairLeadingCodesZeroAndOneRefutesAtTheFirstDecision) {
    const std::vector<Codes> refuted = {
        {{0}, {1}, {2, 4, 7}},
        {{2, 4}, {0}, {3, 0}, {4, 5, 1}, {1}, {1, 6}}, // code 1 in a tail first
        {{1}, {2, 3, 0}, {0}, {5}},
    };
    for (const Codes &cubes : refuted) {
        Loaded l(cubes, 4, 2);
        CHpGN56 &s = *l;
        EXPECT_EQ(TautB456_rs(s), -1);
        EXPECT_FALSE(s.restart);
        EXPECT_EQ(s.result, RESULT_UNSAT);
        EXPECT_EQ(s.nb_node, 1);
    }
}

// A unit clause after its complement's keeps the two alone, wherever they
// stand, and the formula is unsatisfiable without a search for every
// strategy. Units of different variables, or the same unit twice, do not.
TEST(Solve, ComplementaryUnitsKeepOnlyThePair) {
    const std::vector<Codes> paired = {
        {{0}, {2, 4, 6, 7}, {1}, {3, 5, 8, 9}},
        {{2, 4}, {3, 5, 6}, {5}, {7, 8}, {4}}, // the pair last, every clause read before
    };
    for (const Codes &cubes : paired) {
        Formula formula;
        fill_formula(formula, cubes);
        ASSERT_TRUE(formula.has_complementary_units());
        ASSERT_EQ(formula.clause_count(), 2);
        const int code = *formula.clause_begin(0);
        EXPECT_EQ(V(formula.clause_begin(0), formula.clause_end(0)), V{code});
        EXPECT_EQ(V(formula.clause_begin(1), formula.clause_end(1)), V{code ^ 1});
        for (int strategy : {0, 1, 2})
            EXPECT_EQ(solve(cubes, 5, strategy), "s UNSATISFIABLE\n") << strategy;
    }
    for (const Codes &cubes : std::vector<Codes>{{{0}, {2}, {0}, {0, 1}}, {{0, 1}, {1}}}) {
        Formula formula;
        fill_formula(formula, cubes);
        EXPECT_FALSE(formula.has_complementary_units());
        EXPECT_EQ(formula.clause_count(), static_cast<int>(cubes.size()));
    }
}

TEST(Solve, EmptyClauseIsUnsatisfiable) {
    for (int strategy : {0, 1, 2}) {
        EXPECT_EQ(solve({{0, 2}, {}, {1}}, 2, strategy), "s UNSATISFIABLE\n") << strategy;
        EXPECT_EQ(solve({{}}, 0, strategy), "s UNSATISFIABLE\n") << strategy;
    }
}

TEST(Solve, ModelLinesBreakAfterEveryFifteenth) {
    std::string first, second;
    for (int v = 1; v <= 15; ++v)
        first += " " + std::to_string(v);
    for (int v = 16; v <= 30; ++v)
        second += " " + std::to_string(v);
    for (int strategy : {0, 1, 2}) {
        SCOPED_TRACE(strategy);
        EXPECT_EQ(solve(positive_units(15), 15, strategy), "s SATISFIABLE\nv" + first + "\nv 0\n");
        EXPECT_EQ(solve(positive_units(16), 16, strategy),
                  "s SATISFIABLE\nv" + first + "\nv 16 0\n");
        EXPECT_EQ(solve(positive_units(30), 30, strategy),
                  "s SATISFIABLE\nv" + first + "\nv" + second + "\nv 0\n");
    }
}

TEST(Solve, OneBinaryClause) {
    // x1 or x2 over three variables: cube {0, 2}.
    // Strategy 2: x1 false forces x2 true; then x3 false.
    EXPECT_EQ(solve({{0, 2}}, 3, 2), "s SATISFIABLE\nv 2 0\n");
    // Strategy 1: x3 by the tie-break (true); for x2 the even code 2 makes
    // cube 0 unit (weight 1 against 0), so x2 false, which forces x1.
    EXPECT_EQ(solve({{0, 2}}, 3, 1), "s SATISFIABLE\nv 1 3 0\n");
    // Strategy 0 with a single input cube always uses strategy 1's rule.
    EXPECT_EQ(solve({{0, 2}}, 3, 0), "s SATISFIABLE\nv 1 3 0\n");
}

TEST(Solve, ConflictAndBackjumpToTheRoot) {
    // (x1 or x2) and (x1 or -x2): cubes {0, 2}, {0, 3}.
    // Strategy 2: x1 false forces x2 true through cube 0, and cube 1 is all
    // set. The recipe {0} sets x1 true at the root; then x2 false.
    EXPECT_EQ(solve({{0, 2}, {0, 3}}, 2, 2), "s SATISFIABLE\nv 1 0\n");
    // Strategy 1: x2 has weight 1 both ways, the tie gives x2 true, which
    // forces x1 true through cube 1.
    EXPECT_EQ(solve({{0, 2}, {0, 3}}, 2, 1), "s SATISFIABLE\nv 1 2 0\n");
    EXPECT_EQ(solve({{0, 2}, {0, 3}}, 2, 0), "s SATISFIABLE\nv 1 2 0\n");
}

TEST(Solve, CountersOfATracedSolve) {
    // The strategy-2 trace above: decide 0 (visits cubes 0 and 1, both unit),
    // force 3 (visits cube 1: all set), include {0}; at the root force 1 (no
    // watcher), decide 2 (visits cube 0, falsified), and no variable is free.
    Formula formula;
    fill_formula(formula, {{0, 2}, {0, 3}});
    const SolveStats st = solve_formula(formula, 2, 2).stats;
    EXPECT_EQ(V({int(st.conflicts), int(st.decisions), int(st.propagations), int(st.visits),
                 int(st.passes), int(st.reviews_root), int(st.reviews_plain),
                 int(st.recipes_included), int(st.recipes_deleted), int(st.cubes_held)}),
              (V{1, 2, 4, 4, 1, 0, 0, 1, 0, 3}));
    Formula empty_clause;
    fill_formula(empty_clause, {{0}, {}});
    EXPECT_EQ(solve_formula(empty_clause, 1, 2).stats.propagations, 0u);
}

TEST(Solve, ThreeUnitsUnderStrategy2EndInAFirstReviewThatEmptiesTheBase) {
    EXPECT_EQ(solve(positive_units(3), 3, 2), "s SATISFIABLE\nv 1 2 3 0\n");
}

} // namespace
