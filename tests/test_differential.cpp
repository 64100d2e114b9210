// Differential test: generated formulas of every family, solved by the built
// binary under strategies 0, 1 and 2. Every SAT model is checked against the
// clauses, every UNSAT verdict against a peer solver (or, with no peer
// installed, against exhaustive search on formulas small enough for it).
// Every run writes a DRAT proof that the independent checker must accept,
// with the empty clause exactly when the verdict is UNSAT. In the families
// through reviews, pigeonholes, parity chains and reader quirks a second run
// of the same formula and strategy writes an LRAT proof instead, which the
// LRAT checker must accept likewise, and prints the same answer.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "reader/raspok1.h"
#include "support/harness.h"
#include "support/lrat_runs.h"
#include "tools/cnfgen.h"
#include "tools/drat_check.h"
#include "tools/oracle.h"

using namespace vetrix;

namespace {

using Words = std::vector<std::string>; // one cnfgen command line

// Without a peer only formulas of at most this many variables are generated,
// so that exhaustive search can confirm every UNSAT verdict.
constexpr int kSmallVars = 16;

// The first peer solver on the PATH; empty when none is installed.
std::string find_peer() {
    for (const char *name : {"picosat", "minisat", "cadical"}) {
        std::string probe = std::string("command -v ") + name + " >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0)
            return name;
    }
    return std::string();
}

const std::string &peer() {
    static const std::string name = find_peer();
    return name;
}

bool small_only() { return peer().empty(); }

std::string scratch_dir() {
    static const std::string dir = [] {
        std::string templ = testing::TempDir() + "vetrix-differential-XXXXXX";
        return std::string(mkdtemp(&templ[0]) ? templ.c_str() : "");
    }();
    return dir;
}

// Satisfiability by the peer (exit 10 SAT, 20 UNSAT) from a plain rendering
// of the clauses, or by exhaustive search when there is no peer.
bool oracle_says_sat(int nb_var, const cnfgen::Clauses &clauses, const std::string &path) {
    if (peer().empty()) {
        EXPECT_LE(nb_var, kSmallVars) << "too many variables to check without a peer solver";
        return nb_var > kSmallVars || cnfgen::brute_force_sat(nb_var, clauses);
    }
    harness::write_file(path, cnfgen::render_plain(nb_var, clauses));
    std::string cmd = peer() + " " + harness::shell_quote(path) + " >/dev/null 2>&1";
    int st = std::system(cmd.c_str());
    int code = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    EXPECT_TRUE(code == 10 || code == 20) << peer() << " gave exit status " << code;
    return code != 20;
}

// The "v" lines list true variables in increasing order, fifteen to a line,
// the last line closed by " 0".
bool model_layout_ok(const std::string &out) {
    std::istringstream in(out);
    std::string line;
    std::getline(in, line);
    std::vector<std::string> lines;
    while (std::getline(in, line))
        lines.push_back(line);
    int last = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::istringstream vs(lines[i].substr(1));
        std::vector<int> nums;
        for (int x; vs >> x;)
            nums.push_back(x);
        bool final_line = i + 1 == lines.size();
        if (final_line ? (nums.empty() || nums.back() != 0 || nums.size() > 15) : nums.size() != 15)
            return false;
        if (final_line)
            nums.pop_back();
        for (int x : nums) {
            if (x <= last)
                return false;
            last = x;
        }
    }
    return true;
}

std::string reproduce(const Words &w) {
    std::string s = "cnfgen";
    for (const std::string &x : w)
        s += " " + x;
    return s;
}

// Reviews a family's runs went through, by kind.
struct Reviews {
    long long root = 0;  // after literals were fixed at the root
    long long plain = 0; // with nothing fixed at the root
    long long shortenings = 0; // clauses the proofs shortened
};

// Runs one generated formula under every strategy and checks each answer;
// with lrat, an LRAT run too. With reviews given, the runs also count their
// reviews, and the proofs must delete every clause they shorten right after
// its shorter form.
void check_case(const Words &words, int index, bool lrat, Reviews *reviews) {
    cnfgen::Generated g;
    std::string error;
    ASSERT_TRUE(cnfgen::generate(words, g, error)) << reproduce(words) << ": " << error;
    SCOPED_TRACE(reproduce(words));
    const cnfgen::Formula &f = g.formula;
    const cnfgen::Clauses clauses = cnfgen::reader_view(f.clauses);
    const std::string path = scratch_dir() + "/case" + std::to_string(index) + ".cnf";
    harness::write_file(path, g.text);
    int known = -1; // oracle answer once asked: 1 SAT, 0 UNSAT
    const testing::TestResult &result = *testing::UnitTest::GetInstance()->current_test_info()->result();
    const int failures_before = result.total_part_count();
    for (int strategy = 0; strategy <= 2; ++strategy) {
        SCOPED_TRACE("strategy " + std::to_string(strategy));
        Words args{"--proof=" + path + ".drat", path, std::to_string(strategy)};
        if (reviews)
            args.push_back("--stats");
        harness::RunResult r = harness::run_vetrix(args, "", reviews ? path + ".stats" : "");
        EXPECT_EQ(r.status, 0) << r.out;
        const dratcheck::Verdict proof = dratcheck::check_proof(
            clauses, harness::read_file(path + ".drat"), dratcheck::ProofFormat::detect, reviews != nullptr);
        EXPECT_TRUE(proof.valid) << "proof rejected: " << proof.error;
        if (reviews) {
            const std::string stats = harness::read_file(path + ".stats");
            reviews->root += harness::stat_value(stats, "reviews_fixed");
            reviews->plain += harness::stat_value(stats, "reviews_plain");
            reviews->shortenings += static_cast<long long>(proof.shortenings);
        }
        EXPECT_EQ(proof.refuted, r.out == "s UNSATISFIABLE\n") << "empty clause and verdict disagree";
        if (lrat) {
            EXPECT_EQ(harness::run_with_lrat({path, std::to_string(strategy)}, f.clauses, path + ".lrat").out, r.out);
        }
        std::vector<bool> truth;
        if (harness::parse_model(r.out, f.nb_var, truth)) {
            EXPECT_TRUE(harness::satisfies(clauses, truth)) << "model falsifies a clause";
            EXPECT_TRUE(model_layout_ok(r.out)) << r.out;
            EXPECT_FALSE(f.expect == cnfgen::Expect::Unsat) << "SAT on a formula unsatisfiable by construction";
        } else if (r.out == "s UNSATISFIABLE\n") {
            EXPECT_FALSE(f.expect == cnfgen::Expect::Sat) << "UNSAT on a formula satisfiable by construction";
            if (known < 0)
                known = oracle_says_sat(f.nb_var, clauses, path + ".plain") ? 1 : 0;
            EXPECT_EQ(known, 0) << "UNSAT, but " << (peer().empty() ? "exhaustive search" : peer())
                                << " finds the formula satisfiable";
        } else {
            ADD_FAILURE() << "not a SAT or UNSAT answer: " << r.out;
        }
    }
    if (result.total_part_count() != failures_before) {
        ADD_FAILURE() << "the failing file and its proof are kept: " << path;
    } else {
        std::remove(path.c_str());
        std::remove((path + ".drat").c_str());
        std::remove((path + ".lrat").c_str());
    }
    std::remove((path + ".plain").c_str());
    std::remove((path + ".stats").c_str());
}

// Said in every test's output when there is no peer: the fallback is a much
// weaker test, and a green run must not hide it.
void warn_without_peer() {
    std::cout << "\n*** WEAKER TEST: no peer solver (picosat, minisat or cadical) on the PATH.\n"
                 "*** UNSAT verdicts are checked by exhaustive search instead, so every generated\n"
                 "*** formula is cut to at most "
              << kSmallVars
              << " variables (up to 150 with a peer) and the pigeonhole\n"
                 "*** formulas to at most 3 holes (7 with a peer): no larger search is compared.\n"
                 "*** Run tools/install_peers.sh for the full test.\n\n";
}

void check_all(const std::vector<Words> &cases, bool lrat = false, Reviews *reviews = nullptr) {
    if (small_only())
        warn_without_peer();
    ASSERT_FALSE(scratch_dir().empty());
    for (size_t i = 0; i < cases.size(); ++i)
        check_case(cases[i], static_cast<int>(i), lrat, reviews);
}

// Builders of the case lists. Seeds are spread so that no two cases of the
// whole suite share one.
Words line(uint64_t seed, Words family) {
    Words w{"--random-layout", std::to_string(seed)};
    w.insert(w.end(), family.begin(), family.end());
    return w;
}

std::vector<int> sizes(std::vector<int> with_peer, std::vector<int> small) {
    return small_only() ? small : with_peer;
}

TEST(Differential, UniformThreeSatAroundThreshold) {
    std::vector<Words> cases;
    uint64_t seed = 1000;
    for (int n : sizes({20, 50, 80, 120}, {8, 12, 16}))
        for (const char *ratio : {"3.0", "3.8", "4.26", "4.6", "5.5"})
            for (int i = small_only() ? 9 : 7; i > 0; --i)
                cases.push_back(line(seed++, {"ksat", std::to_string(n), "3", ratio}));
    check_all(cases);
}

TEST(Differential, UniformOtherClauseLengths) {
    std::vector<Words> cases;
    uint64_t seed = 2000;
    const int n1 = sizes({30}, {10})[0], n2 = sizes({60}, {16})[0], n4 = sizes({40}, {14})[0],
              n5 = sizes({30}, {12})[0];
    for (int i = 0; i < 8; ++i) {
        cases.push_back(line(seed++, {"ksat", std::to_string(n1), "1", "0.3"}));
        cases.push_back(line(seed++, {"ksat", std::to_string(n2), "2", "1.0"}));
        cases.push_back(line(seed++, {"ksat", std::to_string(n4), "4", "9.9"}));
        cases.push_back(line(seed++, {"ksat", std::to_string(n5), "5", "21"}));
    }
    // No clause at all; the clause count may be the last thing in the file.
    cases.push_back({"--no-final-eol", "1", "ksat", "5", "3", "0"});
    cases.push_back({"--comments", "--crlf", "1", "ksat", "5", "3", "0"});
    check_all(cases);
}

TEST(Differential, PlantedSolutions) {
    std::vector<Words> cases;
    uint64_t seed = 3000;
    for (int n : sizes({40, 90, 150}, {10, 16}))
        for (const char *ratio : {"4.26", "6.0"})
            for (int i = 0; i < 8; ++i)
                cases.push_back(line(seed++, {"planted", std::to_string(n), "3", ratio}));
    check_all(cases);
}

// Long input clauses (8 to 20 literals) that root facts, some found only
// in later passes, shorten or satisfy: runs through several reviews of each
// kind, in which a review that took input clauses for learnt ones would
// lose them. The counts show in the output, and a family that stops
// reaching the reviews fails.
TEST(Differential, LongClausesThroughReviews) {
    if (small_only())
        GTEST_SKIP() << "the padded formulas have 40 variables beyond their core: "
                        "too many for exhaustive search (run tools/install_peers.sh)";
    std::vector<Words> cases;
    uint64_t seed = 9000;
    for (int i = 0; i < 4; ++i)
        cases.push_back(line(seed++, {"padded", "100", "5.0"}));
    for (int i = 0; i < 6; ++i)
        cases.push_back(line(seed++, {"padded", "130", "4.6"}));
    Reviews reached;
    check_all(cases, true, &reached);
    std::cout << "reviews reached by " << cases.size() * 3 << " runs: " << reached.root
              << " after root fixes, " << reached.plain << " plain; " << reached.shortenings
              << " clauses shortened in the proofs\n";
    EXPECT_GE(reached.root, 60) << "reviews after root fixes";
    EXPECT_GE(reached.plain, 10) << "plain reviews";
    EXPECT_GE(reached.shortenings, 5000) << "clauses shortened";
}

TEST(Differential, Pigeonhole) {
    std::vector<Words> cases;
    uint64_t seed = 4000;
    for (int holes : sizes({1, 2, 3, 4, 5, 6, 7}, {1, 2, 3}))
        for (int i = 0; i < 3; ++i)
            cases.push_back(line(seed++, {"php", std::to_string(holes)}));
    check_all(cases, true);
}

TEST(Differential, XorChains) {
    std::vector<Words> cases;
    uint64_t seed = 5000;
    for (int n : sizes({2, 3, 4, 5, 6, 8, 10, 12, 14, 16}, {2, 3, 4, 5, 6}))
        for (const char *answer : {"sat", "unsat"})
            for (int i = small_only() ? 3 : 2; i > 0; --i)
                cases.push_back(line(seed++, {"xor", std::to_string(n), answer}));
    check_all(cases, true);
}

// Repeated literals, complementary pairs (kept and dropped), unit and empty
// clauses mixed into random formulas.
TEST(Differential, ReaderQuirks) {
    std::vector<Words> cases;
    uint64_t seed = 6000;
    for (int n : sizes({10, 20, 40}, {8, 12, 16}))
        for (const char *ratio : {"2.0", "3.5", "4.26"})
            for (int i = 0; i < 6; ++i) {
                Words w = line(seed++, {"ksat", std::to_string(n), "3", ratio});
                w.insert(w.begin(), i == 5 ? "--empty-clause" : "--quirks");
                cases.push_back(w);
            }
    for (int i = 0; i < 10; ++i)
        cases.push_back({"--quirks", "--random-layout", std::to_string(seed++), "planted",
                         std::to_string(sizes({30}, {14})[0]), "3", "4.0"});
    check_all(cases, true);
}

// The clauses the formula keeps of the clauses read: all of them, or only a
// unit clause and its complement's once both are read.
cnfgen::Clauses kept_clauses(const cnfgen::Clauses &read) {
    std::set<int> units;
    for (const cnfgen::Clause &c : read) {
        if (c.size() != 1)
            continue;
        if (units.count(-c[0]))
            return {{-c[0]}, {c[0]}};
        units.insert(c[0]);
    }
    return read;
}

// The reader, in process, stores exactly the clauses the generator reports
// for every layout: comment and CR-only lines, CRLF, ragged spacing, clauses
// continued on the next line, repeats and complementary pairs.
TEST(Differential, ReaderStoresTheGeneratedClauses) {
    for (uint64_t seed = 8000; seed < 8200; ++seed) {
        Words words = line(seed, {"ksat", "12", "3", "3.0"});
        words.insert(words.begin(), seed % 4 == 0 ? "--empty-clause" : "--quirks");
        cnfgen::Generated g;
        std::string error;
        ASSERT_TRUE(cnfgen::generate(words, g, error)) << error;
        std::string text = g.text + '\0';
        Formula formula;
        int nb_var = -1;
        ASSERT_TRUE(raspok_dnf(text, formula, nb_var)) << reproduce(words);
        cnfgen::Clauses stored;
        for (int i = 0; i < formula.clause_count(); ++i) {
            stored.emplace_back();
            for (const int *c = formula.clause_begin(i); c != formula.clause_end(i); ++c)
                stored.back().push_back(*c % 2 == 0 ? *c / 2 + 1 : -(*c / 2 + 1));
        }
        EXPECT_EQ(nb_var, g.formula.nb_var) << reproduce(words);
        EXPECT_EQ(stored, kept_clauses(cnfgen::reader_view(g.formula.clauses))) << reproduce(words);
    }
}

// Two runs of the same file and strategy print the same bytes. Formulas
// large enough for several passes and reviews.
TEST(Differential, RepeatedRunsPrintTheSameBytes) {
    const int n = sizes({120}, {16})[0];
    for (uint64_t seed = 7000; seed < 7006; ++seed) {
        Words words = line(seed, {"ksat", std::to_string(n), "3", "4.26"});
        cnfgen::Generated g;
        std::string error;
        ASSERT_TRUE(cnfgen::generate(words, g, error)) << error;
        const std::string path = scratch_dir() + "/repeat.cnf";
        harness::write_file(path, g.text);
        for (int strategy = 0; strategy <= 2; ++strategy) {
            harness::RunResult first = harness::run_vetrix({path, std::to_string(strategy)});
            harness::RunResult second = harness::run_vetrix({path, std::to_string(strategy)});
            EXPECT_EQ(first.out, second.out) << reproduce(words) << " strategy " << strategy;
            EXPECT_EQ(first.status, second.status);
        }
        std::remove(path.c_str());
    }
}

} // namespace
