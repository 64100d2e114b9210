// End to end over a deterministic slice of the benchmark corpus's small tier:
// every verdict against the recorded one, every model against the clauses,
// read here by a token parser of its own. The whole tier is swept by
// tools/check_small_tier.sh. Then the DRAT and LRAT proofs of the UNSAT
// families uuf50, uuf100, hole, dubois and pret, checked by the independent
// checkers.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/harness.h"
#include "support/lrat_runs.h"
#include "tools/drat_check.h"
#include "vetrix/strategy.h"

namespace {

bool is_dir(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

struct Instance {
    std::string path; // relative to the corpus directory
    std::string family;
    bool sat;
};

// Every satch instance of the small tier and every 5th of the others, in
// the manifest's order.
std::vector<Instance> small_tier_slice(const std::string &manifest) {
    std::ifstream in(manifest);
    std::vector<Instance> picked;
    std::string line;
    std::getline(in, line); // header
    int others = 0;
    while (std::getline(in, line)) {
        std::vector<std::string> col;
        std::istringstream fields(line);
        std::string f;
        while (std::getline(fields, f, '\t'))
            col.push_back(f);
        if (col.size() < 8 || col[7] != "small")
            continue;
        bool take = col[1] == "satch" || others++ % 5 == 0;
        if (take)
            picked.push_back({col[0], col[1], col[4] == "SAT"});
    }
    return picked;
}

// Runs the binary with a generous limit, so that a hang fails one instance
// instead of stalling the suite. The fast engine is chosen by its option,
// the exact strategies by the argument n.
harness::RunResult run_limited(const std::string &file, int strategy, const std::string &options = "") {
    const std::string fast = strategy == vetrix::FAST_STRATEGY ? " --strategy=fast" : "";
    const std::string n = fast.empty() ? " " + std::to_string(strategy) : "";
    std::string cmd = "timeout -k 5 120 " + harness::shell_quote(VETRIX_BIN) + fast + " " + options + " " +
                      harness::shell_quote(file) + n + " 2>/dev/null";
    harness::RunResult r{std::string(), -1};
    FILE *p = popen(cmd.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, got);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

class SmallTier : public testing::TestWithParam<int> {};

TEST_P(SmallTier, VerdictsAndModels) {
    const std::string dir = harness::corpus_dir();
    if (!is_dir(dir))
        GTEST_SKIP() << "benchmark corpus not found at " << dir;
    const std::vector<Instance> slice = small_tier_slice(dir + "/MANIFEST.tsv");
    ASSERT_GT(slice.size(), 600u) << "small tier missing from " << dir << "/MANIFEST.tsv";
    const int strategy = GetParam();
    int sat = 0, unsat = 0;
    for (const Instance &inst : slice) {
        const std::string file = dir + "/" + inst.path;
        int nb_var = 0;
        harness::Clauses clauses;
        ASSERT_TRUE(harness::read_cnf(file, nb_var, clauses)) << inst.path;
        harness::RunResult r = run_limited(file, strategy);
        EXPECT_EQ(r.status, 0) << inst.path;
        if (inst.sat) {
            std::vector<bool> truth;
            if (!harness::parse_model(r.out, nb_var, truth)) {
                ADD_FAILURE() << inst.path << ": expected a model, got:\n" << r.out.substr(0, 200);
                continue;
            }
            EXPECT_TRUE(harness::satisfies(clauses, truth)) << inst.path << ": model fails a clause";
            ++sat;
        } else {
            EXPECT_EQ(r.out, "s UNSATISFIABLE\n") << inst.path;
            ++unsat;
        }
    }
    RecordProperty("sat", sat);
    RecordProperty("unsat", unsat);
}

INSTANTIATE_TEST_SUITE_P(Corpus, SmallTier, testing::Values(0, 1, 2, vetrix::FAST_STRATEGY),
                         [](const testing::TestParamInfo<int> &info) {
                             return info.param == vetrix::FAST_STRATEGY ? std::string("StrategyFast")
                                                                        : "Strategy" + std::to_string(info.param);
                         });

// The proof slice: every 20th uuf50 instance, all of uuf100, dubois and pret,
// hole6 to hole8, each with its DRAT and its LRAT proof. With VETRIX_PROOF_SLICE=all: every uuf50 instance and hole9
// as well (a few minutes per strategy).
std::vector<std::string> proof_slice(const std::string &manifest) {
    const char *env = std::getenv("VETRIX_PROOF_SLICE");
    const bool all = env && std::string(env) == "all";
    std::ifstream in(manifest);
    std::vector<std::string> picked;
    std::string line;
    std::getline(in, line); // header
    int uuf50 = 0;
    while (std::getline(in, line)) {
        const std::string path = line.substr(0, line.find('\t'));
        const std::string family = path.substr(0, path.find('/'));
        if (family == "uuf50" ? (all || uuf50++ % 20 == 0)
                              : family == "uuf100" || family == "dubois" || family == "pret" ||
                                    (family == "hole" && (all || path != "hole/hole9.cnf")))
            picked.push_back(path);
    }
    return picked;
}

class ProofSlice : public testing::TestWithParam<int> {};

TEST_P(ProofSlice, UnsatProofsCheck) {
    const std::string dir = harness::corpus_dir();
    if (!is_dir(dir))
        GTEST_SKIP() << "benchmark corpus not found at " << dir;
    const std::vector<std::string> slice = proof_slice(dir + "/MANIFEST.tsv");
    ASSERT_GE(slice.size(), 80u) << "proof families missing from " << dir << "/MANIFEST.tsv";
    const int strategy = GetParam();
    harness::ScratchDir scratch; // of its own: other checkouts may run this test at the same time
    const std::string proof = scratch.path("slice.drat");
    for (const std::string &path : slice) {
        dratcheck::Clauses clauses;
        std::string error;
        ASSERT_TRUE(dratcheck::read_dimacs(harness::read_file(dir + "/" + path), clauses, error)) << path;
        harness::RunResult r = run_limited(dir + "/" + path, strategy, "--proof=" + harness::shell_quote(proof));
        EXPECT_EQ(r.out, "s UNSATISFIABLE\n") << path;
        const dratcheck::Verdict v = dratcheck::check_proof(clauses, harness::read_file(proof));
        EXPECT_TRUE(v.valid && v.refuted) << path << ": " << (v.valid ? "no empty clause" : v.error);
        EXPECT_EQ(harness::run_with_lrat({dir + "/" + path, std::to_string(strategy)}, clauses, proof).out, r.out)
            << path;
    }
    RecordProperty("instances", static_cast<int>(slice.size()));
}

INSTANTIATE_TEST_SUITE_P(Corpus, ProofSlice, testing::Values(0, 1, 2),
                         [](const testing::TestParamInfo<int> &info) {
                             return "Strategy" + std::to_string(info.param);
                         });

} // namespace
