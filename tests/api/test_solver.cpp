// The incremental solver: a first call is the one-shot solve; random call
// sequences (clauses added between calls, assumptions) answered as an
// exhaustive search over the small formulas answers them, with models that
// satisfy the clauses and the assumptions and cores that are refuted on
// their own; limits give unknown and leave a usable solver; the IPASIR calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <vetrix/ipasir.h>
#include <vetrix/vetrix.h>
#include <vetrix/vetrix_c.h>

#include "support/harness.h"
#include "tools/cnfgen.h"
#include "tools/drat_check.h"
#include "tools/lrat_check.h"

namespace {

using Clauses = std::vector<std::vector<int>>;

// True when the assignment (bit v-1 of bits is variable v) satisfies lit.
bool holds(unsigned bits, int lit) {
    const bool value = (bits >> ((lit < 0 ? -lit : lit) - 1)) & 1u;
    return lit > 0 ? value : !value;
}

// Exhaustive search: true when some assignment of nb_var <= 16 variables
// satisfies every clause and every literal of units.
bool satisfiable(int nb_var, const Clauses &clauses, const std::vector<int> &units) {
    for (unsigned bits = 0; bits < (1u << nb_var); ++bits) {
        bool ok = std::all_of(units.begin(), units.end(), [&](int l) { return holds(bits, l); });
        for (size_t i = 0; ok && i < clauses.size(); ++i)
            ok = std::any_of(clauses[i].begin(), clauses[i].end(), [&](int l) { return holds(bits, l); });
        if (ok)
            return true;
    }
    return false;
}

bool model_satisfies(const std::vector<int> &model, const Clauses &clauses, const std::vector<int> &units) {
    auto is_true = [&](int l) {
        const size_t v = static_cast<size_t>(l < 0 ? -l : l);
        return v <= model.size() && model[v - 1] == l;
    };
    bool ok = std::all_of(units.begin(), units.end(), is_true);
    for (const auto &c : clauses)
        ok = ok && std::any_of(c.begin(), c.end(), is_true);
    return ok;
}

// A fresh solver's first call is the one-shot solve: verdict, model and
// every counter, under each strategy, on random formulas around the
// threshold and on formulas long enough to reach the reviews. A propagate
// before it changes nothing: the exact strategies propagate a copy.
TEST(SolverFirstCall, IsTheOneShotSolve) {
    for (uint64_t seed = 1; seed <= 24; ++seed) {
        cnfgen::Rng rng(seed);
        const cnfgen::Formula f = seed % 4 == 0 ? cnfgen::padded_ksat(rng, 40, 420)
                                                : cnfgen::uniform_ksat(rng, 60 + static_cast<int>(seed), 3, 426);
        const int n = static_cast<int>(seed % 3);
        SCOPED_TRACE("seed " + std::to_string(seed));
        vetrix::Options options;
        options.strategy = n;
        const vetrix::Result one_shot = vetrix::solve(f.nb_var, f.clauses, options);
        vetrix::Solver solver(n);
        solver.declare_vars(f.nb_var);
        for (const auto &c : f.clauses)
            solver.add_clause(c);
        if (seed % 2 == 0) {
            std::vector<int> set;
            solver.propagate({1, -2, 3}, set);
        }
        ASSERT_EQ(solver.solve(), one_shot.verdict);
        if (one_shot.verdict == vetrix::Verdict::satisfiable) {
            EXPECT_EQ(solver.model(), one_shot.model);
        }
        const vetrix::Statistics &a = solver.statistics(), &b = one_shot.stats;
        EXPECT_EQ(a.conflicts, b.conflicts);
        EXPECT_EQ(a.decisions, b.decisions);
        EXPECT_EQ(a.propagations, b.propagations);
        EXPECT_EQ(a.reviews_root + a.reviews_plain, b.reviews_root + b.reviews_plain);
        EXPECT_EQ(a.cubes_held, b.cubes_held);
    }
}

// Random sequences of calls on small formulas: clauses arrive in batches
// between calls, each call under random assumptions. Every answer is the
// exhaustive search's; a model satisfies every clause so far and the
// assumptions; a core is a subset of the assumptions that the clauses
// refute on their own. The same sequence gives the same answers twice.
// Half the sequences start their calls warm.
TEST(SolverSequences, AnswerAsExhaustiveSearch) {
    int sat = 0, failed = 0, refuted = 0;
    for (uint64_t seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::vector<std::string> runs;
        for (int run = 0; run < 2; ++run) {
            cnfgen::Rng rng(seed);
            const int nb_var = 6 + rng.below(9);
            const cnfgen::Formula f = cnfgen::uniform_ksat(rng, nb_var, 3, 300 + rng.below(300));
            vetrix::Solver solver(static_cast<int>(seed % 3));
            solver.set_warm_start(seed % 2 == 0);
            Clauses held;
            std::string trace;
            size_t next = 0;
            for (int call = 0; call < 8; ++call) {
                const size_t batch = next + 1 + static_cast<size_t>(rng.below(static_cast<int>(f.clauses.size()) / 4 + 1));
                for (; next < f.clauses.size() && next < batch; ++next) {
                    solver.add_clause(f.clauses[next]);
                    held.push_back(f.clauses[next]);
                }
                std::vector<int> assumptions;
                for (int k = rng.below(5); k > 0; --k) {
                    const int v = 1 + rng.below(nb_var + 2); // sometimes a variable no clause names
                    assumptions.push_back(rng.percent(50) ? v : -v);
                    solver.assume(assumptions.back());
                }
                const int vars = std::max(nb_var + 2, solver.num_vars());
                const vetrix::Verdict got = solver.solve();
                const bool expected = satisfiable(vars, held, assumptions);
                ASSERT_EQ(got, expected ? vetrix::Verdict::satisfiable : vetrix::Verdict::unsatisfiable);
                if (expected) {
                    ++sat;
                    EXPECT_TRUE(model_satisfies(solver.model(), held, assumptions));
                    for (int l : assumptions)
                        EXPECT_EQ(solver.value(l), l);
                    trace += "s";
                    continue;
                }
                const std::vector<int> &core = solver.failed_assumptions();
                for (int l : core)
                    EXPECT_NE(std::find(assumptions.begin(), assumptions.end(), l), assumptions.end());
                EXPECT_FALSE(satisfiable(vars, held, core));
                (core.empty() ? refuted : failed) += 1;
                trace += "u" + std::to_string(core.size());
            }
            runs.push_back(trace);
        }
        EXPECT_EQ(runs[0], runs[1]);
    }
    EXPECT_GT(sat, 200);
    EXPECT_GT(failed, 100);
    EXPECT_GT(refuted, 20);
}

// A limit, the stop flag or the terminate callback gives unknown; the
// solver stays valid and the next call decides; learnt clauses reach the
// learn callback within its length bound; unsatisfiable alone is final.
TEST(SolverCalls, LimitsStopAndLearnLeaveAUsableSolver) {
    const cnfgen::Formula php = cnfgen::pigeonhole(7);
    vetrix::Solver solver(1);
    for (const auto &c : php.clauses)
        solver.add_clause(c);
    solver.limit_conflicts(10);
    EXPECT_EQ(solver.solve(), vetrix::Verdict::unknown);
    EXPECT_LE(solver.statistics().conflicts, 10u);
    solver.limit_decisions(5);
    EXPECT_EQ(solver.solve(), vetrix::Verdict::unknown);
    std::atomic<bool> stop{true};
    solver.set_stop(&stop);
    EXPECT_EQ(solver.solve(), vetrix::Verdict::unknown);
    solver.set_stop(nullptr);
    int asked = 0;
    solver.set_terminate([&] { return ++asked > 100; });
    EXPECT_EQ(solver.solve(), vetrix::Verdict::unknown);
    solver.set_terminate(nullptr);
    size_t learnt = 0, longest = 0;
    solver.set_learn(3, [&](const std::vector<int> &clause) {
        ++learnt;
        longest = std::max(longest, clause.size());
    });
    EXPECT_EQ(solver.solve(), vetrix::Verdict::unsatisfiable);
    EXPECT_GT(learnt, 0u);
    EXPECT_LE(longest, 3u);
    EXPECT_TRUE(solver.failed_assumptions().empty());
    solver.add_clause({1});
    EXPECT_EQ(solver.solve(), vetrix::Verdict::unsatisfiable);
    EXPECT_THROW(solver.model(), vetrix::Error);
}

// Clauses added after the first call outgrow its cube slots: the solver
// grows them. Bad literals fail with a message and are not taken.
void grows_and_refuses_bad_literals(int strategy) {
    vetrix::Solver solver(strategy);
    solver.add_clause({1, 2});
    ASSERT_EQ(solver.solve(), vetrix::Verdict::satisfiable);
    const int chain = 320000; // more clauses than the first call left slots for
    for (int v = 3; v < chain; ++v)
        solver.add_clause({-(v - 1), v});
    solver.assume(2);
    ASSERT_EQ(solver.solve(), vetrix::Verdict::satisfiable);
    EXPECT_EQ(solver.value(chain - 1), chain - 1);
    solver.assume(2);
    solver.assume(-(chain - 1));
    ASSERT_EQ(solver.solve(), vetrix::Verdict::unsatisfiable);
    std::vector<int> failed = solver.failed_assumptions();
    if (strategy == 3) // the fast engine's analysis lists them in its own order
        std::sort(failed.begin(), failed.end());
    EXPECT_EQ(failed, (std::vector<int>{-(chain - 1), 2}));
    for (const std::vector<int> &bad : {std::vector<int>{1, 0}, std::vector<int>{INT_MIN}}) {
        try {
            solver.add_clause(bad);
            ADD_FAILURE() << "accepted";
        } catch (const vetrix::Error &e) {
            EXPECT_EQ(e.message().rfind("literal ", 0), 0u) << e.message();
        }
    }
    EXPECT_THROW(solver.assume(0), vetrix::Error);
    EXPECT_EQ(solver.num_clauses(), static_cast<size_t>(chain - 2));
    EXPECT_EQ(solver.solve(), vetrix::Verdict::satisfiable);
}

// The exact search's tables grow between calls; the fast engine
// eliminates along the chain and restores it when the assumptions use it.
TEST(SolverCalls, GrowsAndRefusesBadLiterals) {
    for (int strategy : {0, 3}) {
        SCOPED_TRACE(strategy);
        grows_and_refuses_bad_literals(strategy);
    }
}

// One DRAT or LRAT proof of a whole sequence of calls, the clauses added
// being its formula (clause k with ID k), checks; once they alone are
// refuted it ends with the empty clause. Clauses arrive in batches after
// facts were fixed at the root (padded formulas), so later clauses are
// shortened by them.
TEST(SolverCalls, OneProofOfEveryCallChecks) {
    int refuted = 0;
    for (uint64_t seed = 1; seed <= 24; ++seed) {
        const bool lrat = seed > 12;
        cnfgen::Rng rng(seed % 12);
        const cnfgen::Formula f = cnfgen::padded_ksat(rng, 30, 360 + 30 * static_cast<int>(seed % 12));
        std::ostringstream proof;
        vetrix::Solver solver(static_cast<int>(seed % 4)); // strategies 0-2 and the fast engine
        solver.set_proof(&proof, seed % 2 == 0);
        if (lrat)
            solver.set("lrat", "1");
        for (size_t i = 0; i < f.clauses.size(); ++i) {
            solver.add_clause(f.clauses[i]);
            if (i % 25 == 24) {
                solver.assume(1 + rng.below(30));
                solver.solve();
            }
        }
        const bool unsat = solver.solve() == vetrix::Verdict::unsatisfiable;
        refuted += unsat;
        if (lrat) {
            const lratcheck::Verdict checked = lratcheck::check_proof(f.clauses, proof.str());
            EXPECT_TRUE(checked.valid) << "seed " << seed << ": " << checked.error;
            EXPECT_EQ(checked.refuted, unsat);
        } else {
            const dratcheck::Verdict checked = dratcheck::check_proof(f.clauses, proof.str());
            EXPECT_TRUE(checked.valid) << "seed " << seed << ": " << checked.error;
            EXPECT_EQ(checked.refuted, unsat);
        }
    }
    EXPECT_GE(refuted, 6);
    // A unit clause whose complement came in an earlier call, and an empty
    // clause in a later call, refute the formula at once.
    for (const std::vector<int> &last : {std::vector<int>{-1}, std::vector<int>{}})
        for (const int strategy : {0, vetrix::FAST_STRATEGY}) {
            const std::vector<std::vector<int>> clauses = {{1, 2}, {1}, {2, 3}, last};
            std::ostringstream proof;
            vetrix::Solver solver(strategy);
            solver.set_proof(&proof);
            solver.set("lrat", "1");
            for (const std::vector<int> &clause : clauses) {
                solver.add_clause(clause);
                solver.solve();
            }
            const lratcheck::Verdict checked = lratcheck::check_proof(clauses, proof.str());
            EXPECT_TRUE(checked.valid && checked.refuted) << checked.error << "\n" << proof.str();
        }
    // A conflict limit may stop the fast engine right after it learnt a
    // unit, before the unit is propagated; a propagate then meets the
    // conflict at the root, and its empty clause needs hints too.
    int refuted_by_propagate = 0;
    for (uint64_t seed = 1; seed <= 8; ++seed) {
        cnfgen::Rng rng(seed);
        const cnfgen::Formula f = cnfgen::uniform_ksat(rng, 40, 3, 600);
        for (int limit = 1; limit <= 60; ++limit) {
            std::ostringstream proof;
            vetrix::Solver solver;
            solver.set_proof(&proof);
            solver.set("lrat", "1");
            for (const auto &c : f.clauses)
                solver.add_clause(c);
            solver.limit_conflicts(limit);
            if (solver.solve() != vetrix::Verdict::unknown)
                break;
            std::vector<int> set;
            if (solver.propagate({}, set))
                continue;
            ++refuted_by_propagate;
            const lratcheck::Verdict checked = lratcheck::check_proof(f.clauses, proof.str());
            EXPECT_TRUE(checked.valid && checked.refuted) << "seed " << seed << " limit " << limit << ": "
                                                          << checked.error;
        }
    }
    EXPECT_GE(refuted_by_propagate, 1);
}

// Three clauses true at the root after the first pass: the review that
// follows drops them all and answers on an empty base. Clauses added after
// that call are placed where the emptied base ends; calls on them, through
// vetrix::Solver and IPASIR, under each strategy, warm and cold, answer as
// exhaustive search does.
TEST(SolverCalls, ClausesAfterAReviewThatEmptiedTheBase) {
    const Clauses first = {{2}, {-4, -3}, {3}};
    for (int n = 0; n <= 2; ++n)
        for (bool warm : {false, true}) {
            SCOPED_TRACE("strategy " + std::to_string(n) + (warm ? " warm" : " cold"));
            cnfgen::Rng rng(static_cast<uint64_t>(10 * n + warm));
            vetrix::Solver solver(n);
            solver.set_warm_start(warm);
            void *ipasir = ipasir_init();
            ASSERT_EQ(vetrix_ipasir_set_strategy(ipasir, n), 0);
            vetrix_ipasir_set_warm_start(ipasir, warm);
            Clauses held;
            for (int call = 0; call < 14; ++call) {
                Clauses added = call == 0 ? first : call == 1 ? Clauses{{-5}} : Clauses{{}};
                for (int k = 0; call > 1 && k < 3; ++k)
                    added[0].push_back((1 + rng.below(6)) * (rng.percent(50) ? 1 : -1));
                for (const auto &c : added) {
                    solver.add_clause(c);
                    for (int l : c)
                        ipasir_add(ipasir, l);
                    ipasir_add(ipasir, 0);
                    held.push_back(c);
                }
                const std::vector<int> assumed = {call > 3 && call % 2 ? -1 - rng.below(6) : 1 + rng.below(6)};
                if (call > 3) {
                    solver.assume(assumed[0]);
                    ipasir_assume(ipasir, assumed[0]);
                }
                const std::vector<int> units = call > 3 ? assumed : std::vector<int>{};
                const bool expected = satisfiable(6, held, units);
                ASSERT_EQ(solver.solve(), expected ? vetrix::Verdict::satisfiable : vetrix::Verdict::unsatisfiable)
                    << "call " << call;
                ASSERT_EQ(ipasir_solve(ipasir), expected ? 10 : 20) << "call " << call;
                if (expected) {
                    EXPECT_TRUE(model_satisfies(solver.model(), held, units)) << "call " << call;
                    for (int v = 1; v <= 6; ++v)
                        EXPECT_EQ(ipasir_val(ipasir, v), solver.value(v)) << "call " << call;
                }
            }
            ipasir_release(ipasir);
        }
}

// The lines the command line prints for a call of an incremental file.
std::string call_lines(const vetrix::Solver &solver, vetrix::Verdict verdict) {
    std::vector<int> lits;
    std::string out;
    char letter = 'f';
    if (verdict == vetrix::Verdict::satisfiable) {
        out = "s SATISFIABLE\n";
        letter = 'v';
        for (int l : solver.model())
            if (l > 0)
                lits.push_back(l);
    } else {
        out = "s UNSATISFIABLE\n";
        lits = solver.failed_assumptions();
    }
    out += letter;
    for (size_t k = 0; k < lits.size(); ++k)
        out += " " + std::to_string(lits[k]) + ((k + 1) % 15 == 0 ? std::string("\n") + letter : "");
    return out + " 0\n";
}

// An incremental file is the library's sequence of calls: the command line
// prints exactly the answers of vetrix::Solver for the same clauses and
// assumptions, under each strategy, and its LRAT proof of every call
// checks; bad lines give their messages.
TEST(IncrementalFile, PrintsTheSolversAnswers) {
    harness::ScratchDir dir;
    for (uint64_t seed = 1; seed <= 12; ++seed) {
        cnfgen::Rng rng(seed);
        const cnfgen::Formula f = cnfgen::uniform_ksat(rng, 30, 3, 380);
        const int n = static_cast<int>(seed % 3);
        vetrix::Solver solver(n);
        // Odd seeds warm-start every call; every fourth gives each call a
        // budget of conflicts, whose first unknown answer ends the run.
        std::vector<std::string> args = {std::to_string(n)};
        if (seed % 2 == 1) {
            solver.set_warm_start(true);
            args.push_back("--warm-start");
        }
        if (seed % 4 == 0) {
            solver.set("conflicts", "8");
            args.push_back("--conflicts=8");
        }
        bool ended = false;
        std::string text = "c calls\np inccnf\n", expected;
        for (size_t i = 0; i < f.clauses.size(); ++i) {
            for (int l : f.clauses[i])
                text += std::to_string(l) + " ";
            text += "0\n";
            solver.add_clause(f.clauses[i]);
            if (i % 16 != 15 || ended)
                continue;
            text += "a";
            for (int k = rng.below(6); k > 0; --k) {
                const int l = rng.percent(50) ? 1 + rng.below(30) : -1 - rng.below(30);
                text += " " + std::to_string(l);
                solver.assume(l);
            }
            text += " 0\n";
            const vetrix::Verdict verdict = solver.solve();
            ended = verdict == vetrix::Verdict::unknown;
            expected += ended ? "s UNKNOWN\n" : call_lines(solver, verdict);
        }
        const std::string path = dir.path("calls" + std::to_string(seed) + ".cnf");
        const std::string proof = dir.path("calls" + std::to_string(seed) + ".lrat");
        std::ofstream(path) << text;
        args.insert(args.begin(), path);
        // One LRAT proof of every call, text or binary.
        args.insert(args.end(), {"--lrat", "--proof=" + proof});
        if (seed % 3 == 0)
            args.push_back("--binary-proof");
        EXPECT_EQ(harness::run_vetrix(args).out, expected) << "seed " << seed;
        const lratcheck::Verdict checked = lratcheck::check_proof(f.clauses, harness::read_file(proof));
        EXPECT_TRUE(checked.valid) << "seed " << seed << ": " << checked.error;
    }
    const std::string bad = dir.path("bad.cnf");
    std::ofstream(bad) << "p inccnf\n1 2 0\na 1 x 0\n";
    EXPECT_EQ(harness::run_vetrix({bad}).out, "wrong token x in line 3\n");
    std::ofstream(bad) << "p inccnf\n1 2 0\na 1\n";
    EXPECT_EQ(harness::run_vetrix({bad}).out, "something went wrong\n");
    std::ofstream(bad) << "p inccnf\n1 -1 0\n";
    EXPECT_EQ(harness::run_vetrix({bad}).out, "s SATISFIABLE\nv 1 0\n");
    EXPECT_EQ(harness::run_vetrix({"--portfolio", bad}).out,
              "an incremental CNF (p inccnf) holds many calls, not one formula\n");
}

// The files of calls in tests/calls, each named by the fault it once showed
// (and the sequences the call fuzzer found): under each strategy the
// command line prints NAME.out and ends with the status NAME.status.
TEST(IncrementalFile, CallFixturesPrintTheirOutput) {
    namespace fs = std::filesystem;
    const std::string dir = harness::source_path("tests/calls");
    std::vector<std::string> names;
    for (const fs::directory_entry &e : fs::directory_iterator(dir))
        if (e.path().extension() == ".cnf")
            names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    ASSERT_FALSE(names.empty());
    for (const std::string &name : names)
        for (const char *n : {"0", "1", "2"}) {
            SCOPED_TRACE(name + " strategy " + n);
            const std::string base = dir + "/" + name;
            const harness::RunResult r = harness::run_vetrix({base + ".cnf", n});
            EXPECT_EQ(r.out, harness::read_file(base + ".out"));
            EXPECT_EQ(r.status, std::atoi(harness::read_file(base + ".status").c_str()));
        }
}

// The IPASIR calls: states, values, failed assumptions, the strategy.
TEST(Ipasir, AnswersAsTheStandardSays) {
    EXPECT_EQ(std::string(ipasir_signature()), std::string("vetrix ") + vetrix::version());
    void *s = ipasir_init();
    EXPECT_EQ(vetrix_ipasir_set_strategy(s, 4), -1);
    EXPECT_EQ(vetrix_ipasir_set_strategy(s, vetrix::FAST_STRATEGY), 0);
    EXPECT_EQ(vetrix_ipasir_set_strategy(s, 2), 0);
    for (int lit : {1, 2, 0, -1, 2, 0, 3, -2, 0})
        ipasir_add(s, lit);
    EXPECT_EQ(vetrix_ipasir_set_strategy(s, 1), -1);
    ASSERT_EQ(ipasir_solve(s), 10);
    EXPECT_EQ(ipasir_val(s, 2), 2);
    EXPECT_EQ(ipasir_val(s, -2), 2); // -2 is false: its negation
    ipasir_assume(s, -3);
    ipasir_assume(s, 1);
    ASSERT_EQ(ipasir_solve(s), 20);
    EXPECT_EQ(ipasir_failed(s, -3), 1);
    EXPECT_EQ(ipasir_failed(s, 1), 0);
    EXPECT_EQ(ipasir_solve(s), 10); // the assumptions are gone
    ipasir_release(s);
}

// Settings made before the strategy is chosen stay: the terminate hook and
// a conflict budget, set first, still stop the solver of strategy 2, and
// its LRAT proof of every call checks.
TEST(Ipasir, SettingsSurviveTheStrategyInAnyOrder) {
    const cnfgen::Formula php = cnfgen::pigeonhole(7);
    harness::ScratchDir dir;
    const std::string proof = dir.path("proof.lrat");
    for (const bool hook_first : {true, false}) {
        void *s = ipasir_init();
        const auto hook = [s, &proof] {
            ipasir_set_terminate(s, nullptr, [](void *) { return 1; });
            vetrix_ipasir_set_warm_start(s, 1);
            EXPECT_EQ(vetrix_ipasir_set_option(s, "lrat", "1"), 0);
            EXPECT_EQ(vetrix_ipasir_set_option(s, "proof", proof.c_str()), 0);
        };
        if (hook_first)
            hook();
        EXPECT_EQ(vetrix_ipasir_set_strategy(s, 2), 0);
        if (!hook_first)
            hook();
        for (const std::vector<int> &clause : php.clauses) {
            for (int lit : clause)
                ipasir_add(s, lit);
            ipasir_add(s, 0);
        }
        EXPECT_EQ(ipasir_solve(s), 0) << "hook first " << hook_first;
        ipasir_set_terminate(s, nullptr, nullptr);
        EXPECT_EQ(vetrix_ipasir_set_option(s, "conflicts", "3"), 0);
        EXPECT_EQ(ipasir_solve(s), 0);
        EXPECT_EQ(vetrix_ipasir_set_option(s, "conflicts", "0"), 0);
        EXPECT_EQ(ipasir_solve(s), 20);
        ipasir_release(s);
        const lratcheck::Verdict checked = lratcheck::check_proof(php.clauses, harness::read_file(proof));
        EXPECT_TRUE(checked.valid && checked.refuted) << checked.error;
    }
}

// The strategy chosen after other settings keeps them: the assumption of
// the next call, the terminate and learn callbacks, warm start. With warm
// start strategy 2 repeats the last model's 1 where it would set 1 false.
TEST(Ipasir, StrategyKeepsTheSettingsMadeBeforeIt) {
    void *s = ipasir_init();
    ipasir_assume(s, -1);
    ASSERT_EQ(vetrix_ipasir_set_strategy(s, 1), 0);
    ipasir_add(s, 1);
    ipasir_add(s, 0);
    EXPECT_EQ(ipasir_solve(s), 20);
    EXPECT_EQ(ipasir_failed(s, -1), 1);
    ipasir_release(s);

    struct Seen {
        int polls = 0, learnt = 0;
        bool stop = true;
    } seen;
    s = ipasir_init();
    ipasir_set_terminate(s, &seen, [](void *d) {
        Seen &c = *static_cast<Seen *>(d);
        ++c.polls;
        return c.stop ? 1 : 0;
    });
    ipasir_set_learn(s, &seen, 8, [](void *d, int32_t *) { ++static_cast<Seen *>(d)->learnt; });
    vetrix_ipasir_set_warm_start(s, 1);
    ASSERT_EQ(vetrix_ipasir_set_strategy(s, 2), 0);
    for (int lit : {1, 2, 0})
        ipasir_add(s, lit);
    ipasir_assume(s, 1);
    EXPECT_EQ(ipasir_solve(s), 0);
    EXPECT_GT(seen.polls, 0);
    seen.stop = false;
    ipasir_assume(s, 1);
    ASSERT_EQ(ipasir_solve(s), 10);
    ASSERT_EQ(ipasir_solve(s), 10);
    EXPECT_EQ(ipasir_val(s, 1), 1);
    for (const auto &c : cnfgen::pigeonhole(4).clauses) {
        for (int lit : c)
            ipasir_add(s, lit + (lit > 0 ? 2 : -2));
        ipasir_add(s, -99);
        ipasir_add(s, 0);
    }
    ipasir_assume(s, 99);
    EXPECT_EQ(ipasir_solve(s), 20);
    EXPECT_GT(seen.learnt, 0);
    ipasir_release(s);
}

} // namespace
