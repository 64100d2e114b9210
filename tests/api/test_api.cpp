// The C++ interface against the command line: the same answers on the golden
// cases, the input fixtures, a corpus slice and generated formulas with the
// reader's quirks; the same messages for every bad input, as vetrix::Error;
// and a host that goes on solving after an error.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <vetrix/vetrix.h>

#include "support/harness.h"
#include "tools/cnfgen.h"
#include "tools/drat_check.h"
#include "tools/lrat_check.h"

namespace {

namespace fs = std::filesystem;

using Clauses = std::vector<std::vector<int>>;

vetrix::Options with_strategy(int n) {
    vetrix::Options options;
    options.strategy = n;
    return options;
}

// The command line's verdict lines for a result: the true variables, 15 per
// v line.
std::string verdict_text(const vetrix::Result &r) {
    if (r.verdict == vetrix::Verdict::unsatisfiable)
        return "s UNSATISFIABLE\n";
    if (r.verdict == vetrix::Verdict::unknown)
        return "s UNKNOWN\n";
    std::string text = "s SATISFIABLE\nv";
    int listed = 0;
    for (int lit : r.model)
        if (lit > 0) {
            text += " " + std::to_string(lit);
            if (++listed % 15 == 0)
                text += "\nv";
        }
    return text + " 0\n";
}

// What the command line would print for the call, and its exit status.
struct Answer {
    std::string out;
    int status;
};

Answer answer(const std::function<vetrix::Result()> &call) {
    try {
        return {verdict_text(call()), 0};
    } catch (const vetrix::Error &e) {
        return {e.message(), e.status()};
    }
}

std::vector<std::string> cnf_names(const std::string &dir) {
    std::vector<std::string> names;
    for (const fs::directory_entry &e : fs::directory_iterator(dir))
        if (e.path().extension() == ".cnf")
            names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// ------------------------------------------------------------ same answers

class Golden : public testing::TestWithParam<int> {};

// The golden outputs are the command line's, byte for byte.
TEST_P(Golden, FileAndClausesGiveTheCommandLinesOutput) {
    const std::string dir = harness::source_path("../shared/golden/cases");
    if (!fs::is_directory(dir))
        GTEST_SKIP() << "golden cases not found at " << dir;
    const int n = GetParam();
    int compared = 0;
    for (const std::string &name : cnf_names(dir)) {
        const std::string want = dir + "/" + name + "." + std::to_string(n) + ".out";
        if (!fs::exists(want))
            continue;
        SCOPED_TRACE(name);
        const std::string path = dir + "/" + name + ".cnf";
        const std::string out = harness::read_file(want);
        EXPECT_EQ(answer([&] { return vetrix::solve_file(path, with_strategy(n)); }).out, out);
        int nb_var = 0;
        Clauses clauses;
        ASSERT_TRUE(harness::read_cnf(path, nb_var, clauses));
        EXPECT_EQ(answer([&] { return vetrix::solve(nb_var, clauses, with_strategy(n)); }).out, out);
        ++compared;
    }
    EXPECT_GE(compared, 39);
}

INSTANTIATE_TEST_SUITE_P(Api, Golden, testing::Values(0, 1, 2));

// Every input fixture, errors included, through the text and the file calls.
TEST(ApiFixtures, TextAndFileGiveTheFixturesOutputAndStatus) {
    const std::string dir = harness::source_path("tests/inputs");
    for (const std::string &name : cnf_names(dir)) {
        SCOPED_TRACE(name);
        const std::string base = dir + "/" + name;
        const std::string text = harness::read_file(base + ".cnf");
        const Answer want{harness::read_file(base + ".out"), std::atoi(harness::read_file(base + ".status").c_str())};
        for (const Answer &got : {answer([&] { return vetrix::solve_dimacs(text); }),
                                  answer([&] { return vetrix::solve_file(base + ".cnf"); })}) {
            EXPECT_EQ(got.out, want.out);
            EXPECT_EQ(got.status, want.status);
        }
    }
}

// Every 25th instance of the corpus's small tier, strategies in turn: the
// clauses through solve() print what the command line prints for the file.
TEST(ApiCorpus, ClausesGiveTheCommandLinesOutput) {
    const std::string dir = harness::corpus_dir();
    std::ifstream manifest(dir + "/MANIFEST.tsv");
    if (!manifest)
        GTEST_SKIP() << "benchmark corpus not found at " << dir;
    std::string line;
    int row = 0, compared = 0;
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        std::string path, tier;
        std::getline(fields, path, '\t');
        for (int col = 1; col < 8; ++col)
            std::getline(fields, tier, '\t');
        if (tier != "small" || row++ % 25 != 0)
            continue;
        SCOPED_TRACE(path);
        const std::string file = dir + "/" + path;
        const int n = compared++ % 3;
        int nb_var = 0;
        Clauses clauses;
        ASSERT_TRUE(harness::read_cnf(file, nb_var, clauses));
        const harness::RunResult cli = harness::run_vetrix({file, std::to_string(n)});
        EXPECT_EQ(answer([&] { return vetrix::solve(nb_var, clauses, with_strategy(n)); }).out, cli.out);
    }
    EXPECT_GE(compared, 100);
}

// Generated formulas with repeated literals, complementary pairs (kept and
// dropped) and empty clauses: the clause lists give the models of their
// laid-out texts, so solve() applies the reader's clause rules.
TEST(ApiClauseRules, ClausesGiveTheModelOfTheirText) {
    for (uint64_t seed = 1; seed <= 40; ++seed) {
        cnfgen::Rng rng(seed);
        cnfgen::Formula f = cnfgen::uniform_ksat(rng, 12 + rng.below(30), 3, 380);
        cnfgen::add_quirks(rng, f, cnfgen::Quirks{true, seed % 8 == 0});
        const std::string text = cnfgen::render(f, cnfgen::random_layout(rng), rng);
        const int n = static_cast<int>(seed % 3);
        SCOPED_TRACE("seed " + std::to_string(seed));
        EXPECT_EQ(answer([&] { return vetrix::solve(f.nb_var, f.clauses, with_strategy(n)); }).out,
                  answer([&] { return vetrix::solve_dimacs(text, with_strategy(n)); }).out);
    }
}

// The options of a solve: the proof of an UNSAT answer checks in either
// format, DRAT or LRAT, and a time limit already past or a raised stop flag
// stops the search at its first decision.
TEST(ApiOptions, ProofChecksAndTimeLimitOrStopGivesUnknown) {
    const cnfgen::Formula php = cnfgen::pigeonhole(4);
    for (int n = 0; n <= vetrix::FAST_STRATEGY; ++n) {
        for (const bool binary : {false, true}) {
            std::ostringstream proof, lrat;
            vetrix::Options options = with_strategy(n);
            options.proof = &proof;
            options.binary_proof = binary;
            EXPECT_EQ(vetrix::solve(php.nb_var, php.clauses, options).verdict, vetrix::Verdict::unsatisfiable);
            const dratcheck::Verdict checked = dratcheck::check_proof(
                php.clauses, proof.str(), binary ? dratcheck::ProofFormat::binary : dratcheck::ProofFormat::text);
            EXPECT_TRUE(checked.valid && checked.refuted) << "strategy " << n << ": " << checked.error;
            options.proof = &lrat;
            options.lrat = true;
            EXPECT_EQ(vetrix::solve(php.nb_var, php.clauses, options).verdict, vetrix::Verdict::unsatisfiable);
            const lratcheck::Verdict hinted = lratcheck::check_proof(php.clauses, lrat.str());
            EXPECT_TRUE(hinted.valid && hinted.refuted) << "strategy " << n << ": " << hinted.error;
        }
        vetrix::Options options = with_strategy(n);
        options.time_limit = 1e-9;
        EXPECT_EQ(vetrix::solve(php.nb_var, php.clauses, options).verdict, vetrix::Verdict::unknown);
        const std::atomic<bool> stop{true};
        options = with_strategy(n);
        options.stop = &stop;
        EXPECT_EQ(vetrix::solve(php.nb_var, php.clauses, options).verdict, vetrix::Verdict::unknown);
    }
}

// The progress callback: counters that never go back, then one last call at
// the end with the result's own counters; a formula decided before any
// search still gets its last call.
TEST(ApiOptions, ProgressEndsWithTheResultsCounters) {
    const cnfgen::Formula php = cnfgen::pigeonhole(5);
    for (int n = 0; n <= 2; ++n) {
        SCOPED_TRACE("strategy " + std::to_string(n));
        std::vector<vetrix::Progress> calls;
        vetrix::Options options = with_strategy(n);
        options.progress = [&](const vetrix::Progress &p) { calls.push_back(p); };
        const vetrix::Result r = vetrix::solve(php.nb_var, php.clauses, options);
        ASSERT_FALSE(calls.empty());
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].last, i + 1 == calls.size());
            if (i == 0)
                continue;
            const vetrix::Progress &a = calls[i - 1], &b = calls[i];
            EXPECT_LE(a.seconds, b.seconds);
            EXPECT_LE(a.passes, b.passes);
            EXPECT_LE(a.conflicts, b.conflicts);
            EXPECT_LE(a.decisions, b.decisions);
            EXPECT_LE(a.propagations, b.propagations);
            EXPECT_LE(a.fixed, b.fixed);
            EXPECT_LE(a.reviews, b.reviews);
        }
        const vetrix::Progress &end = calls.back();
        EXPECT_EQ(end.passes, r.stats.passes);
        EXPECT_EQ(end.conflicts, r.stats.conflicts);
        EXPECT_EQ(end.decisions, r.stats.decisions);
        EXPECT_EQ(end.propagations, r.stats.propagations);
        EXPECT_EQ(end.reviews, r.stats.reviews_root + r.stats.reviews_plain);
        calls.clear();
        vetrix::solve(1, {{1}, {}}, options);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_TRUE(calls[0].last);
    }
}

// ------------------------------------------------------------------ errors

TEST(ApiErrors, EachBadInputGivesTheCommandLinesMessage) {
    const std::string missing = testing::TempDir() + "vetrix-no-such-file.cnf";
    const Clauses ok = {{1, -2}, {2}};
    const struct {
        const char *what;
        std::function<vetrix::Result()> call;
        std::string message;
    } rows[] = {
        {"strategy 4", [&] { return vetrix::solve(2, ok, with_strategy(4)); }, "wrong strategy 4\n"},
        {"strategy -1", [&] { return vetrix::solve_dimacs("p cnf 1 0\n", with_strategy(-1)); }, "wrong strategy -1\n"},
        {"strategy before file", [&] { return vetrix::solve_file(missing, with_strategy(9)); }, "wrong strategy 9\n"},
        {"literal above", [] { return vetrix::solve(3, {{1, 2}, {-3, 4}}); }, "literal 4 out of range in clause 2\n"},
        {"literal below", [] { return vetrix::solve(3, {{-4}}); }, "literal -4 out of range in clause 1\n"},
        {"literal 0", [] { return vetrix::solve(3, {{1}, {}, {2, 0}}); }, "literal 0 out of range in clause 3\n"},
        {"INT_MIN", [] { return vetrix::solve(3, {{INT_MIN}}); }, "literal -2147483648 out of range in clause 1\n"},
        {"dropped clause counts", [] { return vetrix::solve(2, {{1, -1, 1}, {3}}); }, "literal 3 out of range in clause 2\n"},
        {"negative num_vars", [] { return vetrix::solve(-1, {}); }, "wrong array size\n"},
        {"num_vars beyond int sizes", [] { return vetrix::solve(INT_MAX, {}); }, "wrong array size\n"},
        {"reader message", [] { return vetrix::solve_dimacs("p cnf 2 1\n1 -3 0\n"); }, "literal -3 out of range in clause 1\n"},
        {"early end", [] { return vetrix::solve_dimacs("p cnf 2 2\n1 0\n"); }, "something went wrong\n"},
        {"empty text", [] { return vetrix::solve_dimacs(""); }, "a CNF is empty (not opened?)\n"},
        {"missing file", [&] { return vetrix::solve_file(missing); }, "cannot open  file " + missing + "\n"},
        {"directory", [] { return vetrix::solve_file("/"); }, "cannot open  file /\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        const Answer got = answer(row.call);
        EXPECT_EQ(got.out, row.message);
        EXPECT_EQ(got.status, 1);
    }
}

TEST(ApiErrors, WhatStopsAtANulWhileMessageKeepsEveryByte) {
    const std::string text("p cnf 12\0\0\0\0\0 1\n", 17);
    try {
        vetrix::solve_dimacs(text);
        FAIL() << "no error";
    } catch (const vetrix::Error &e) {
        EXPECT_EQ(e.message(), "number  of variables is too large (length > 5)\n" + std::string("12\0\0\0\0\0", 7) + "\n");
        EXPECT_STREQ(e.what(), "number  of variables is too large (length > 5)\n12");
    }
}

// A literal after the point where a clause is dropped is not read, as the
// reader skips the rest of a dropped clause line.
TEST(ApiClauseRules, TheRestOfADroppedClauseIsNotRead) {
    EXPECT_EQ(answer([] { return vetrix::solve(1, {{1, -1, 1, 7}, {-1}}); }).out, "s SATISFIABLE\nv 0\n");
}

// A full propagation queue stops the solve in its middle; the host keeps
// running and the next solves work.
TEST(ApiHost, SolvesAgainAfterAnErrorInTheMiddleOfASolve) {
    Clauses queue_filler = {{1, 2}};
    queue_filler.resize(20006, {-2, 3});
    for (int n = 0; n <= 2; ++n) {
        SCOPED_TRACE("strategy " + std::to_string(n));
        const Answer got = answer([&] { return vetrix::solve(3, queue_filler, with_strategy(n)); });
        EXPECT_EQ(got.out, "\n please, stop and increase max_size_queu");
        EXPECT_EQ(got.status, 1);
        const vetrix::Result r = vetrix::solve(3, {{1, -2}, {2, 3}, {-1}}, with_strategy(n));
        EXPECT_EQ(r.verdict, vetrix::Verdict::satisfiable);
        EXPECT_EQ(r.model, (std::vector<int>{-1, -2, 3}));
    }
}

TEST(ApiVersion, IsTheCommandLinesVersion) {
    EXPECT_EQ(harness::run_vetrix({"--version"}).out, "vetrix " + std::string(vetrix::version()) + "\n");
}

} // namespace
