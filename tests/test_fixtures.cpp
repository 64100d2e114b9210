// Input fixtures: every tests/inputs/NAME.cnf, named by the defect or edge
// case it holds, runs through the built binary under each strategy, and
// once more compressed with each format and through standard input; stdout
// must equal NAME.out byte for byte and the exit status NAME.status.
// Damaged compressed files are reported with their name.
// The DRAT proof of every UNSAT fixture is checked against the fixture as
// the independent checker reads it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/harness.h"
#include "support/lrat_runs.h"
#include "tools/drat_check.h"

namespace {

namespace fs = std::filesystem;

std::string inputs_dir() { return harness::source_path("tests/inputs"); }

// Writes `tool -c from` to `to`.
void compress(const char *tool, const std::string &from, const std::string &to) {
    const std::string cmd = std::string(tool) + " -c " + harness::shell_quote(from) + " > " + harness::shell_quote(to);
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

// The compression tools, each with the format word of vetrix's messages.
struct Codec {
    const char *tool;
    const char *format;
};
const Codec kCodecs[] = {{"gzip", "gzip"}, {"xz", "xz"}, {"bzip2", "bzip2"}};

std::vector<std::string> fixture_names() {
    std::vector<std::string> names;
    for (const fs::directory_entry &e : fs::directory_iterator(inputs_dir()))
        if (e.path().extension() == ".cnf")
            names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Each strategy's proof of an UNSAT fixture ends with a checked empty
// clause, in DRAT and in LRAT.
void expect_checked_proofs(const std::string &cnf) {
    dratcheck::Clauses clauses;
    std::string error;
    ASSERT_TRUE(dratcheck::read_dimacs(harness::read_file(cnf), clauses, error)) << error;
    harness::ScratchDir scratch;
    const std::string proof = scratch.path("proof.drat");
    for (const char *strategy : {"0", "1", "2"}) {
        harness::RunResult r = harness::run_vetrix({"--proof=" + proof, cnf, strategy});
        EXPECT_EQ(r.out, "s UNSATISFIABLE\n");
        const dratcheck::Verdict v = dratcheck::check_proof(clauses, harness::read_file(proof));
        EXPECT_TRUE(v.valid && v.refuted) << "strategy " << strategy << ": " << v.error;
        EXPECT_EQ(harness::run_with_lrat({cnf, strategy}, clauses, proof).out, r.out) << "strategy " << strategy;
    }
}

class Fixture : public testing::TestWithParam<std::string> {};

TEST_P(Fixture, PrintsExpectedOutputAndStatus) {
    const std::string base = inputs_dir() + "/" + GetParam();
    const std::string want_out = harness::read_file(base + ".out");
    const std::string status_text = harness::read_file(base + ".status");
    ASSERT_FALSE(status_text.empty()) << "missing " << base << ".status";
    const int want_status = std::atoi(status_text.c_str());
    // No strategy argument (0), then 1 and 2: input handling does not depend
    // on the strategy, and every satisfiable fixture has a single model.
    const std::vector<std::vector<std::string>> runs = {{base + ".cnf"}, {base + ".cnf", "1"}, {base + ".cnf", "2"}};
    for (const auto &args : runs) {
        SCOPED_TRACE(args.size() == 1 ? "no strategy argument" : "strategy " + args[1]);
        harness::RunResult r = harness::run_vetrix(args);
        EXPECT_EQ(r.out, want_out);
        EXPECT_EQ(r.status, want_status);
    }
    // The same text compressed, named as a file and fed to standard input,
    // and plain through standard input.
    harness::ScratchDir scratch;
    struct Run {
        std::string label;
        std::vector<std::string> args;
        std::string input;
    };
    std::vector<Run> encoded = {{"plain on standard input", {"-"}, base + ".cnf"}};
    for (const Codec &codec : kCodecs) {
        const std::string packed = scratch.path(GetParam() + "." + codec.tool);
        compress(codec.tool, base + ".cnf", packed);
        encoded.push_back({codec.tool, {packed}, ""});
        encoded.push_back({std::string(codec.tool) + " on standard input", {"-", "2"}, packed});
    }
    for (const Run &run : encoded) {
        SCOPED_TRACE(run.label);
        harness::RunResult r = harness::run_vetrix(run.args, run.input);
        EXPECT_EQ(r.out, want_out);
        EXPECT_EQ(r.status, want_status);
    }
    if (want_out == "s UNSATISFIABLE\n")
        expect_checked_proofs(base + ".cnf");
}

std::string test_name(const testing::TestParamInfo<std::string> &info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Inputs, Fixture, testing::ValuesIn(fixture_names()), test_name);

// Paths that name no readable file: a missing file and a directory.
TEST(FixtureFiles, UnreadablePathIsReportedWithItsName) {
    harness::ScratchDir scratch;
    const std::string &dir = scratch.dir();
    const std::string missing = dir + "/no such file.cnf";
    for (const std::string &path : {dir, missing}) {
        harness::RunResult r = harness::run_vetrix({path});
        EXPECT_EQ(r.out, "cannot open  file " + path + "\n");
        EXPECT_EQ(r.status, 1);
    }
}

} // namespace

namespace {

// Truncated and corrupted compressed files: one line naming the file and
// the problem, status 1, no verdict. The corrupted byte lies in the check
// data at the end, which every format verifies.
TEST(CompressedInput, DamageIsReportedWithTheFileName) {
    harness::ScratchDir scratch;
    const std::string source = harness::source_path("examples/small.cnf");
    for (const Codec &codec : kCodecs) {
        SCOPED_TRACE(codec.tool);
        const std::string packed = scratch.path(std::string("small.") + codec.tool);
        compress(codec.tool, source, packed);
        const std::string bytes = harness::read_file(packed);
        const std::string truncated = scratch.path(std::string("small.") + codec.tool + ".truncated");
        harness::write_file(truncated, bytes.substr(0, bytes.size() / 2));
        std::string flipped = bytes;
        flipped[flipped.size() - 6] ^= 0x55;
        const std::string corrupt = scratch.path(std::string("small.") + codec.tool + ".corrupt");
        harness::write_file(corrupt, flipped);
        const std::string head = std::string(": the ") + codec.format + " data ";
        const std::vector<std::pair<std::string, std::string>> cases = {{truncated, "ends early"},
                                                                         {corrupt, "is corrupt"}};
        for (const auto &c : cases) {
            harness::RunResult r = harness::run_vetrix({c.first, "2"});
            EXPECT_EQ(r.out, "cannot read  file " + c.first + head + c.second + "\n");
            EXPECT_EQ(r.status, 1);
        }
    }
}

} // namespace
