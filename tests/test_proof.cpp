// DRAT and LRAT proofs, the time limit and the stop signals: the independent
// checkers on hand-made proofs, the proof writer's bytes, and the built
// binary with --proof, --binary-proof, --lrat, --time, SIGINT and SIGTERM.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "solver/proof.h"
#include "support/harness.h"
#include "support/lrat_runs.h"
#include "tools/cnfgen.h"
#include "tools/drat_check.h"
#include "tools/lrat_check.h"

using namespace vetrix;

extern char **environ;

namespace {

dratcheck::Verdict check_text(const std::string &cnf, const std::string &proof) {
    dratcheck::Clauses clauses;
    std::string error;
    EXPECT_TRUE(dratcheck::read_dimacs(cnf, clauses, error)) << error;
    return dratcheck::check_proof(clauses, proof);
}

// The checker itself: what it accepts and what it refuses.
TEST(DratCheck, AcceptsRupStepsAndRefusesTheRest) {
    const std::string xor2 = "p cnf 2 4\n1 2 0\n1 -2 0\n-1 2 0\n-1 -2 0\n";
    struct Row {
        const char *what;
        std::string cnf, proof;
        bool valid, refuted;
    };
    const Row rows[] = {
        {"lemma then empty clause", xor2, "1 0\n0\n", true, true},
        {"comments and deletions in any literal order", xor2, "c x\n1 0\nd 2 1 0\nd -2 1 0\n0\n", true, true},
        {"binary: a 1 0, a 0", xor2, std::string("a\x02\x00" "a\x00", 5), true, true},
        {"no empty clause: valid steps only", xor2, "1 0\n", true, false},
        {"empty clause in the formula", "p cnf 1 2\n1 0\n0\n", "0\n", true, true},
        {"lemma that propagation does not give", "p cnf 3 1\n1 2 3 0\n", "1 0\n", false, false},
        {"empty clause that propagation does not give", "p cnf 2 1\n1 2 0\n", "0\n", false, false},
        {"deleting a clause not held", xor2, "d 1 0\n", false, false},
        {"repeated literals match once", "p cnf 2 1\n1 1 2 0\n", "d 2 1 0\n", true, false},
        {"not a literal", xor2, "1 x 0\n", false, false},
        {"clause without its 0", xor2, "1 2", false, false},
        // Deleting the clause that forced a root fact takes the fact away...
        {"deleted reason", "p cnf 3 3\n1 0\n-1 2 0\n-2 3 0\n", "d 1 0\n3 0\n", false, false},
        // ... unless a unit clause holds it by then.
        {"unit before the reason's deletion", "p cnf 3 4\n1 0\n-1 2 0\n-2 -3 0\n-2 3 0\n",
         "2 0\nd -1 2 0\nd 1 0\n0\n", true, true},
    };
    for (const Row &row : rows) {
        const dratcheck::Verdict v = check_text(row.cnf, row.proof);
        EXPECT_EQ(v.valid, row.valid) << row.what << ": " << v.error;
        EXPECT_EQ(v.refuted, row.refuted) << row.what;
    }
}

// The LRAT checker: every hint unit in turn, the last one falsified, each
// naming a clause held; nothing else passes.
TEST(LratCheck, AcceptsHintedStepsAndRefusesTheRest) {
    const dratcheck::Clauses xor2 = {{1, 2}, {1, -2}, {-1, 2}, {-1, -2}}; // IDs 1 to 4
    struct Row {
        const char *what;
        std::string proof;
        bool valid, refuted;
    };
    const Row rows[] = {
        {"lemma then empty clause", "5 1 0 1 2 0\n6 0 5 3 4 0\n", true, true},
        {"comments and deletions", "c x\n5 1 0 1 2 0\n5 d 1 2 0\n6 0 5 3 4 0\n", true, true},
        {"binary", std::string("a\x0a\x02\x00\x02\x04\x00" "d\x02\x00" "a\x0c\x00\x0a\x06\x08\x00", 17), true, true},
        {"no empty clause: valid steps only", "5 1 0 1 2 0\n", true, false},
        {"a hint missing", "5 1 0 1 0\n", false, false},
        {"a hint with two free literals", "5 0 1 0\n", false, false},
        {"hints out of order", "5 1 0 1 2 0\n6 0 3 5 4 0\n", false, false},
        {"a hint after the falsified one", "5 1 0 1 2 3 0\n", false, false},
        {"a hint satisfied", "5 1 0 1 1 2 0\n", false, false},
        {"a deleted hint", "4 d 2 0\n5 1 0 1 2 0\n", false, false},
        {"an unknown hint", "5 1 0 1 9 0\n", false, false},
        {"a RAT hint", "5 1 0 1 -2 0\n", false, false},
        {"an ID not above the last", "4 1 0 1 2 0\n", false, false},
        {"deleting a clause not held", "4 d 7 0\n", false, false},
    };
    for (const Row &row : rows) {
        const lratcheck::Verdict v = lratcheck::check_proof(xor2, row.proof);
        EXPECT_EQ(v.valid, row.valid) << row.what << ": " << v.error;
        EXPECT_EQ(v.refuted, row.refuted) << row.what;
    }
}

TEST(ProofWriter, TextAndBinaryBytes) {
    const std::pair<ProofWriter::Format, std::string> rows[] = {
        {ProofWriter::Format::text, "1 -2 201 0\nd -3 0\n0\n"},
        {ProofWriter::Format::binary, std::string("a\x02\x05\x92\x03\x00" "d\x07\x00" "a\x00", 11)},
    };
    for (const auto &row : rows) {
        std::ostringstream out;
        {
            ProofWriter w(out, row.first);
            w.begin_addition();
            for (int code : {0, 3, 400}) // +1, -2, +201
                w.literal(code);
            w.end();
            w.begin_deletion();
            w.literal(5);
            w.end();
            w.begin_addition();
            w.end();
        }
        EXPECT_EQ(out.str(), row.second);
    }
}

TEST(ProofWriter, LratTextAndBinaryBytes) {
    const std::pair<ProofWriter::Format, std::string> rows[] = {
        {ProofWriter::Format::lrat_text, "9 1 -2 0 3 300 0\n9 d 4 7 0\n10 0 9 0\n"},
        {ProofWriter::Format::lrat_binary, std::string("a\x12\x02\x05\x00\x06\xd8\x04\x00" "d\x08\x0e\x00" "a\x14\x00\x12\x00", 18)},
    };
    for (const auto &row : rows) {
        std::ostringstream out;
        {
            ProofWriter w(out, row.first);
            w.begin_addition(9);
            for (int code : {0, 3}) // +1, -2
                w.literal(code);
            w.end_addition({3, 300});
            w.deletion(9, 4); // deletions in a row: one step
            w.deletion(9, 7);
            w.begin_addition(10);
            w.end_addition({9});
        }
        EXPECT_EQ(out.str(), row.second);
    }
}

// ---- the built binary ----

class ProofRun : public testing::Test {
  protected:
    std::string path(const std::string &name) { return scratch_.path(name); }
    // A generated formula written to a file; its clauses as read.
    std::string generated(const std::string &name, const std::vector<std::string> &words,
                          cnfgen::Clauses &clauses) {
        cnfgen::Generated g;
        std::string error;
        EXPECT_TRUE(cnfgen::generate(words, g, error)) << error;
        clauses = cnfgen::reader_view(g.formula.clauses);
        const std::string file = path(name);
        harness::write_file(file, g.text);
        return file;
    }
    harness::ScratchDir scratch_;
};

TEST_F(ProofRun, BinaryAndStandardOutputProofsCheck) {
    cnfgen::Clauses unsat, sat;
    const std::string php = generated("php.cnf", {"7", "php", "5"}, unsat);
    const std::string planted = generated("planted.cnf", {"8", "planted", "60", "3", "4.26"}, sat);
    const std::string proof = path("p.drat");
    for (const std::string strategy : {"--strategy=0", "--strategy=1", "--strategy=2", "--strategy=fast"}) {
        SCOPED_TRACE(strategy);
        for (const auto *c : {&unsat, &sat}) {
            const bool is_unsat = c == &unsat;
            harness::RunResult r =
                harness::run_vetrix({"--binary-proof", "--proof=" + proof, strategy, is_unsat ? php : planted});
            EXPECT_EQ(r.out.rfind(is_unsat ? "s UNSATISFIABLE\n" : "s SATISFIABLE\n", 0), 0u) << r.out;
            const std::string bytes = harness::read_file(proof);
            const dratcheck::Verdict v = dratcheck::check_proof(*c, bytes, dratcheck::ProofFormat::binary);
            EXPECT_TRUE(v.valid) << v.error;
            EXPECT_EQ(v.refuted, is_unsat);
        }
        // "-": the proof on standard output, the verdict after it.
        harness::RunResult r = harness::run_vetrix({"--proof=-", strategy, php});
        const std::string verdict = "s UNSATISFIABLE\n";
        ASSERT_GE(r.out.size(), verdict.size());
        EXPECT_EQ(r.out.substr(r.out.size() - verdict.size()), verdict);
        const std::string text = r.out.substr(0, r.out.size() - verdict.size());
        const dratcheck::Verdict v = dratcheck::check_proof(unsat, text, dratcheck::ProofFormat::text);
        EXPECT_TRUE(v.valid && v.refuted) << v.error;
    }
}

// The LRAT proof numbers every clause line: a line the reader drops as
// always true, or no longer keeps once a unit clause met its complement's,
// counts too.
TEST_F(ProofRun, LratNumbersEveryClauseLine) {
    const std::string rows[] = {
        "p cnf 3 6\n1 -1 2 1 0\n1 2 0\n1 -2 0\n-1 3 3 0\n-1 -3 2 0\n-2 -1 -2 0\n",
        "p cnf 2 4\n1 2 0\n1 -1 1 0\n0\n2 0\n",
        "p cnf 2 5\n1 2 0\n2 2 -2 0\n-2 0\n1 0\n2 0\n",
    };
    const std::string cnf = path("quirks.cnf"), proof = path("quirks.lrat");
    for (const std::string &text : rows) {
        SCOPED_TRACE(text);
        dratcheck::Clauses lines;
        std::string error;
        ASSERT_TRUE(dratcheck::read_dimacs(text, lines, error)) << error;
        harness::write_file(cnf, text);
        for (const char *strategy : {"0", "1", "2"})
            EXPECT_EQ(harness::run_with_lrat({cnf, strategy}, lines, proof).out, "s UNSATISFIABLE\n");
    }
}

// The golden cases answered UNSAT: the golden output, and both proofs check.
TEST_F(ProofRun, GoldenRefutationsCheckInDratAndLrat) {
    const std::string dir = harness::source_path("../shared/golden/cases");
    if (!std::filesystem::is_directory(dir))
        GTEST_SKIP() << "golden cases not found at " << dir;
    const std::string drat = path("golden.drat"), lrat = path("golden.lrat");
    int checked = 0;
    for (const std::filesystem::directory_entry &e : std::filesystem::directory_iterator(dir)) {
        const std::string want = e.path().string();
        if (e.path().extension() != ".out" || harness::read_file(want) != "s UNSATISFIABLE\n")
            continue;
        const std::string stem = e.path().stem().string(); // NAME.N
        const std::string cnf = dir + "/" + stem.substr(0, stem.rfind('.')) + ".cnf";
        const std::string strategy = stem.substr(stem.rfind('.') + 1);
        SCOPED_TRACE(cnf + " " + strategy);
        int nb_var = 0;
        harness::Clauses lines;
        ASSERT_TRUE(harness::read_cnf(cnf, nb_var, lines));
        EXPECT_EQ(harness::run_vetrix({"--proof=" + drat, cnf, strategy}).out, "s UNSATISFIABLE\n");
        const dratcheck::Verdict v = dratcheck::check_proof(lines, harness::read_file(drat));
        EXPECT_TRUE(v.valid && v.refuted) << v.error;
        EXPECT_EQ(harness::run_with_lrat({cnf, strategy}, lines, lrat).out, "s UNSATISFIABLE\n");
        ++checked;
    }
    EXPECT_GE(checked, 40);
}

// A text proof's steps, each a deletion or not and its literals sorted; the
// IDs of an LRAT proof are resolved through the clauses they name.
using Steps = std::vector<std::pair<bool, dratcheck::Clause>>;
Steps steps_of(const std::string &proof, bool lrat, dratcheck::Clauses named) {
    Steps steps;
    std::istringstream in(proof);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string word;
        if (lrat)
            words >> word; // the ID
        bool deletion = false;
        std::vector<long long> numbers; // the literals or the IDs deleted
        while (words >> word && word != "0") {
            deletion = deletion || word == "d";
            if (word != "d")
                numbers.push_back(std::stoll(word));
        }
        for (std::size_t k = 0; k < (deletion && lrat ? numbers.size() : 1); ++k) {
            dratcheck::Clause c = deletion && lrat ? named[static_cast<std::size_t>(numbers[k]) - 1]
                                                   : dratcheck::Clause(numbers.begin(), numbers.end());
            std::sort(c.begin(), c.end());
            c.erase(std::unique(c.begin(), c.end()), c.end());
            if (lrat && !deletion)
                named.push_back(c);
            steps.emplace_back(deletion, c);
        }
    }
    return steps;
}

// The DRAT and LRAT proofs of a run through many reviews have the same
// steps: the writers differ only in how they write them.
TEST_F(ProofRun, DratAndLratProofsHaveTheSameSteps) {
    cnfgen::Clauses clauses;
    const std::string padded = generated("padded.cnf", {"9100", "padded", "100", "5.0"}, clauses);
    dratcheck::Clauses lines;
    std::string error;
    ASSERT_TRUE(dratcheck::read_dimacs(harness::read_file(padded), lines, error)) << error;
    const std::string drat = path("p.drat"), lrat = path("p.lrat");
    for (const char *strategy : {"0", "1", "2"}) {
        SCOPED_TRACE(std::string("strategy ") + strategy);
        const harness::RunResult r = harness::run_vetrix({"--proof=" + drat, padded, strategy});
        EXPECT_EQ(harness::run_with_lrat({padded, strategy}, lines, lrat).out, r.out);
        const Steps steps = steps_of(harness::read_file(drat), false, lines);
        EXPECT_GT(steps.size(), 1000u);
        EXPECT_TRUE(steps == steps_of(harness::read_file(lrat), true, lines));
    }
}

// A proof that cannot be created, or that would overwrite the input, is an
// error before anything is read; one whose writing fails is an error after
// the verdict.
TEST_F(ProofRun, UnwritableProofEndsWithStatusOne) {
    harness::RunResult r = harness::run_vetrix({"--proof=" + scratch_.dir() + "/no/such/dir/p.drat", scratch_.dir() + "/missing.cnf"});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 1);
    cnfgen::Clauses clauses;
    const std::string php = generated("php.cnf", {"7", "php", "3"}, clauses);
    const std::string text = harness::read_file(php);
    r = harness::run_vetrix({"--proof=" + scratch_.dir() + "/./php.cnf", php}); // the input itself
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(harness::read_file(php), text);
    r = harness::run_vetrix({"--proof=/dev/full", php});
    EXPECT_EQ(r.out, "s UNSATISFIABLE\n");
    EXPECT_EQ(r.status, 1);
}

struct Finished {
    std::string out, err;
    int status;     // exit status, or -1
    int signal;     // the signal that ended the process, or 0
};

// Runs the binary with stdout and stderr in files; when signal_number is not
// 0 it is sent after delay_ms.
Finished run_and_signal(const std::vector<std::string> &args, const std::string &out, const std::string &err,
                        int signal_number, int delay_ms) {
    std::vector<std::string> argv_s{VETRIX_BIN};
    argv_s.insert(argv_s.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &a : argv_s)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    Finished f{"", "", -1, 0};
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return f;
    if (signal_number != 0) {
        usleep(static_cast<useconds_t>(delay_ms) * 1000);
        kill(pid, signal_number);
    }
    int st = 0;
    waitpid(pid, &st, 0);
    f.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    f.signal = WIFSIGNALED(st) ? WTERMSIG(st) : 0;
    f.out = harness::read_file(out);
    f.err = harness::read_file(err);
    return f;
}

// The time limit and the stop signals end a long search with s UNKNOWN, the
// statistics and a proof of checked steps without the empty clause. A signal
// then ends the process by that same signal; the time limit with status 0.
TEST_F(ProofRun, TimeLimitAndSignalsStopWithUnknown) {
    cnfgen::Clauses clauses;
    const std::string php = generated("php10.cnf", {"7", "php", "10"}, clauses); // minutes of search
    const std::string proof = path("p.drat"), out = path("out"), err = path("err");
    struct Row {
        const char *what;
        std::vector<std::string> extra;
        int signal_number;
    };
    const Row rows[] = {
        {"--time", {"--time=0.5"}, 0},
        {"SIGINT", {}, SIGINT},
        {"SIGTERM", {}, SIGTERM},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<std::string> args{"--stats", "--proof=" + proof, php};
        args.insert(args.begin(), row.extra.begin(), row.extra.end());
        const Finished f = run_and_signal(args, out, err, row.signal_number, 500);
        EXPECT_EQ(f.out, "s UNKNOWN\n");
        EXPECT_EQ(f.signal, row.signal_number);
        if (row.signal_number == 0) {
            EXPECT_EQ(f.status, 0);
        }
        EXPECT_NE(f.err.find("c conflicts: "), std::string::npos) << f.err;
        const dratcheck::Verdict v = dratcheck::check_proof(clauses, harness::read_file(proof));
        EXPECT_TRUE(v.valid) << v.error;
        EXPECT_FALSE(v.refuted);
        EXPECT_GT(v.additions, 0u);
    }
}

// With --portfolio the proof file gets the reported strategy's proof: the
// winner's refutation (in LRAT with --lrat, complete on its own), or after --time or a signal the first strategy's
// steps; the strategies' temporary files are gone after every ending.
TEST_F(ProofRun, PortfolioKeepsOneProofAndNoTemporaryFile) {
    cnfgen::Clauses small, large;
    const std::string php5 = generated("php5.cnf", {"7", "php", "5"}, small);
    const std::string php13 = generated("php13.cnf", {"7", "php", "13"}, large); // minutes for each strategy
    const std::string proof = path("p.drat"), out = path("out"), err = path("err");
    struct Row {
        const char *what;
        std::vector<std::string> args;
        int signal_number;
    };
    const Row rows[] = {
        {"verdict", {"--portfolio", "--binary-proof", php5}, 0},
        {"LRAT", {"--portfolio=fast,1", "--lrat", php5}, 0},
        {"--time", {"--portfolio=1,2", "--time=0.3", php13}, 0},
        {"SIGINT", {"--portfolio", php13}, SIGINT},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<std::string> args = row.args;
        args.push_back("--proof=" + proof);
        const Finished f = run_and_signal(args, out, err, row.signal_number, 300);
        const bool decided = row.args.back() == php5;
        EXPECT_EQ(f.out, decided ? "s UNSATISFIABLE\n" : "s UNKNOWN\n");
        EXPECT_EQ(f.signal, row.signal_number);
        EXPECT_EQ(f.err.find("c portfolio winner: none") == std::string::npos, decided) << f.err;
        if (row.args[1] == "--lrat") {
            const lratcheck::Verdict v = lratcheck::check_proof(small, harness::read_file(proof));
            EXPECT_TRUE(v.valid && v.refuted) << v.error;
        } else {
            const dratcheck::Verdict v = dratcheck::check_proof(decided ? small : large, harness::read_file(proof));
            EXPECT_TRUE(v.valid) << v.error;
            EXPECT_EQ(v.refuted, decided);
        }
        for (const std::filesystem::directory_entry &e : std::filesystem::directory_iterator(scratch_.dir()))
            EXPECT_EQ(e.path().filename().string().find(".vetrix-proof-"), std::string::npos) << e.path();
    }
}

} // namespace
