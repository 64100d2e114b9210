// The command line of the built binary: argument checks, strategy parsing
// and the file-loading messages of the driver.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/harness.h"
#include "tools/cnfgen.h"

namespace {

// A scratch directory with a few input files, removed afterwards.
class Cli : public testing::Test {
  protected:
    std::string file(const std::string &name, const std::string &text) {
        const std::string path = scratch_.path(name);
        harness::write_file(path, text);
        return path;
    }
    harness::ScratchDir scratch_;
};

const char USAGE[] = "vetrix file_name [n]\nn is equal 0,1,2\n";
// With no clause every strategy finds a model at once: strategies 0 and 1
// set the highest free variable's odd code first (all true), strategy 2 the
// lowest variable's even code (all false). So the output names the strategy.
const char NO_CLAUSES[] = "p cnf 3 0\n";
const char BY_STRATEGY_0_1[] = "s SATISFIABLE\nv 1 2 3 0\n";
const char BY_STRATEGY_2[] = "s SATISFIABLE\nv 0\n";

TEST_F(Cli, NoArgumentPrintsUsage) {
    harness::RunResult r = harness::run_vetrix({});
    EXPECT_EQ(r.out, USAGE);
    EXPECT_EQ(r.status, 0);
}

TEST_F(Cli, TooManyArguments) {
    std::string f = file("f.cnf", NO_CLAUSES);
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{f, "0", "0"}, std::vector<std::string>{f, "1", "x", "y"}}) {
        harness::RunResult r = harness::run_vetrix(args);
        EXPECT_EQ(r.out, "wrong number of arguments\n");
        EXPECT_EQ(r.status, 1);
    }
}

TEST_F(Cli, StrategyArgument) {
    std::string f = file("f.cnf", NO_CLAUSES);
    struct Row {
        std::string arg;
        std::string out;
        int status;
    };
    const Row rows[] = {
        {"-1", "wrong strategy -1\n", 1},
        {"3", "wrong strategy 3\n", 1},
        {"-2147483648", "wrong strategy -2147483648\n", 1},
        {"17abc", "wrong strategy 17\n", 1},
        {"0", BY_STRATEGY_0_1, 0},
        {"1", BY_STRATEGY_0_1, 0},
        {"2", BY_STRATEGY_2, 0},
        {"abc", BY_STRATEGY_0_1, 0}, // no digits: 0
        {"", BY_STRATEGY_0_1, 0},
        {"2x", BY_STRATEGY_2, 0},
        {" +2", BY_STRATEGY_2, 0},
        {"-0", BY_STRATEGY_0_1, 0},
    };
    for (const Row &row : rows) {
        harness::RunResult r = harness::run_vetrix({f, row.arg});
        EXPECT_EQ(r.out, row.out) << "strategy argument '" << row.arg << "'";
        EXPECT_EQ(r.status, row.status) << "strategy argument '" << row.arg << "'";
    }
    // A missing strategy is 0.
    harness::RunResult r = harness::run_vetrix({f});
    EXPECT_EQ(r.out, BY_STRATEGY_0_1);
    EXPECT_EQ(r.status, 0);
}

TEST_F(Cli, MissingFile) {
    std::string name = scratch_.dir() + "/no such.cnf";
    harness::RunResult r = harness::run_vetrix({name});
    EXPECT_EQ(r.out, "cannot open  file " + name + "\n");
    EXPECT_EQ(r.status, 1);
    // The strategy is checked before the file is opened.
    r = harness::run_vetrix({name, "5"});
    EXPECT_EQ(r.out, "wrong strategy 5\n");
}

TEST_F(Cli, EmptyAndOneCharacterFiles) {
    for (const std::string &text : {std::string(), std::string("p"), std::string("\n")}) {
        std::string f = file("short.cnf", text);
        harness::RunResult r = harness::run_vetrix({f, "1"});
        EXPECT_EQ(r.out, "a CNF is empty (not opened?)\n") << "file of " << text.size() << " bytes";
        EXPECT_EQ(r.status, 1);
    }
}

TEST_F(Cli, LastLineWithoutLineEndIsRead) {
    // x1 must be true: the clause's 0 is the file's last byte.
    std::string f = file("noeol.cnf", "p cnf 2 1\n1 0");
    harness::RunResult r = harness::run_vetrix({f, "2"});
    EXPECT_EQ(r.out, "s SATISFIABLE\nv 1 0\n");
    EXPECT_EQ(r.status, 0);
}

// Options are taken out wherever they stand; the rest keeps the plain rules,
// and an option that is not for output leaves standard output unchanged.
TEST_F(Cli, OptionsAroundPositionalArguments) {
    std::string f = file("f.cnf", NO_CLAUSES);
    const std::string link = scratch_.path("link.drat");
    ASSERT_EQ(symlink(file("p.drat", "").c_str(), link.c_str()), 0);
    struct Row {
        std::vector<std::string> args;
        std::string out;
        int status;
    };
    const Row rows[] = {
        {{"--stats", f, "2"}, BY_STRATEGY_2, 0},
        {{f, "--stats", "2"}, BY_STRATEGY_2, 0},
        {{f, "2", "--stats"}, BY_STRATEGY_2, 0},
        {{"--stats"}, USAGE, 0},
        {{"--stats", f, "0", "1"}, "wrong number of arguments\n", 1},
        {{"--stats", f, "7"}, "wrong strategy 7\n", 1},
        {{"--no-such-option", f}, "", 1},
        {{"--stats=yes", f}, "", 1},
        {{f, "--"}, BY_STRATEGY_0_1, 0},
        {{"--", "--stats"}, "cannot open  file --stats\n", 1},
        {{"--time=5", f, "2"}, BY_STRATEGY_2, 0},
        {{f, "--verbose", "2"}, BY_STRATEGY_2, 0},
        {{"--verbose=yes", f}, "", 1},
        {{f, "2", "--time=0.25", "--proof=/dev/null", "--binary-proof"}, BY_STRATEGY_2, 0},
        {{"--time", f}, "", 1},
        {{"--time=", f}, "", 1},
        {{"--time=0", f}, "", 1},
        {{"--time=-3", f}, "", 1},
        {{"--time=2x", f}, "", 1},
        {{"--time=nan", f}, "", 1},
        {{"--time=1e10", f}, "", 1},
        {{"--proof", f}, "", 1},
        {{"--proof=", f}, "", 1},
        {{"--binary-proof", f}, "", 1},
        {{"--binary-proof", "--proof=-", f}, "", 1},
        {{"--portfolio=2", f}, BY_STRATEGY_2, 0},
        {{f, "--portfolio=1,0"}, BY_STRATEGY_0_1, 0},
        {{"--portfolio", "--stats"}, USAGE, 0},
        {{"--portfolio", f, "2"}, "", 1},
        {{"--portfolio=0,", f}, "", 1},
        {{"--portfolio=3", "missing.cnf"}, "", 1},
        {{"--portfolio=0,0", f}, "", 1},
        {{"--portfolio=0,", f}, "", 1},
        {{"--portfolio=,1", f}, "", 1},
        {{"--portfolio=12", f}, "", 1},
        {{"--portfolio=one", f}, "", 1},
        {{"--portfolio", "--proof=-", f}, "", 1},
        {{"--portfolio", "--verbose", f}, "", 1},
        {{"--portfolio", "--proof=" + link, f}, "", 1}, // replacing the link would not write through it
    };
    for (const Row &row : rows) {
        harness::RunResult r = harness::run_vetrix(row.args);
        EXPECT_EQ(r.out, row.out) << row.args[0] << " ...";
        EXPECT_EQ(r.status, row.status) << row.args[0] << " ...";
    }
    harness::RunResult help = harness::run_vetrix({"--help", f});
    for (const char *option :
         {"--stats", "--verbose", "--proof=FILE", "--binary-proof", "--time=SECONDS", "--portfolio[=LIST]"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_EQ(help.status, 0);
}

// The strategy a portfolio run names on standard error, or -1.
// The winner's word ("0", "1", "2", "fast"), or "" when none decided.
std::string portfolio_winner(const std::string &err) {
    const std::string mark = "c portfolio winner: strategy ";
    const size_t at = err.find(mark);
    return at == std::string::npos ? "" : err.substr(at + mark.size(), err.find('\n', at) - at - mark.size());
}

// A portfolio prints byte for byte what the strategy it names prints alone
// (the fast engine's lane what --strategy=fast prints),
// and a one-strategy portfolio what that strategy prints; a reader's
// message comes once, as without the option. Over the input fixtures and
// the small satch instances of the corpus (skipped without it, after the
// fixtures).
TEST_F(Cli, PortfolioPrintsTheWinnersOutput) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    for (const fs::directory_entry &e : fs::directory_iterator(harness::source_path("tests/inputs")))
        if (e.path().extension() == ".cnf")
            files.push_back(e.path().string());
    const std::string satch = harness::corpus_dir() + "/satch";
    const bool corpus = fs::is_directory(satch);
    if (corpus)
        for (const fs::directory_entry &e : fs::directory_iterator(satch))
            if (fs::file_size(e.path()) < 20000)
                files.push_back(e.path().string());
    const std::string err = scratch_.path("err");
    int decided = 0;
    for (std::size_t k = 0; k < files.size(); ++k) {
        const std::string &f = files[k];
        SCOPED_TRACE(f);
        // The default lanes (fast,0), and for every other file fast,1.
        const std::string lanes = k % 2 ? "--portfolio=fast,1" : "--portfolio";
        const harness::RunResult race = harness::run_vetrix({lanes, f}, "", err);
        const std::string winner = portfolio_winner(harness::read_file(err));
        const harness::RunResult alone =
            harness::run_vetrix({"--strategy=" + (winner.empty() ? "0" : winner), f});
        EXPECT_EQ(race.out, alone.out);
        EXPECT_EQ(race.status, alone.status);
        decided += !winner.empty();
        for (const char *n : {"0", "1", "2"})
            EXPECT_EQ(harness::run_vetrix({std::string("--portfolio=") + n, f}).out, harness::run_vetrix({f, n}).out);
    }
    if (!corpus)
        GTEST_SKIP() << "benchmark corpus not found at " << satch << ": only the fixtures raced";
    EXPECT_GT(decided, 40);
}

// --verbose writes its table to standard error only: a header, then lines,
// every one beginning with "c ", the last at the end of the search; the
// verdict and the status are those of the plain run.
TEST_F(Cli, VerboseLinesGoToStandardErrorOnly) {
    const cnfgen::Formula php = cnfgen::pigeonhole(5);
    const std::string f = file("php.cnf", cnfgen::render_plain(php.nb_var, php.clauses));
    for (const char *n : {"0", "2"}) {
        const harness::RunResult plain = harness::run_vetrix({f, n});
        EXPECT_EQ(harness::run_vetrix({"--verbose", f, n}).out, plain.out);
        EXPECT_EQ(plain.status, 0);
        const std::string cmd = harness::shell_quote(VETRIX_BIN) + " --verbose " + harness::shell_quote(f) +
                                " " + n + " 2>&1 >/dev/null";
        FILE *p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::vector<std::string> lines;
        char buf[256];
        while (fgets(buf, sizeof buf, p))
            lines.emplace_back(buf);
        pclose(p);
        ASSERT_GE(lines.size(), 2u) << "strategy " << n;
        EXPECT_NE(lines[0].find("seconds"), std::string::npos);
        for (const std::string &line : lines)
            EXPECT_EQ(line.rfind("c ", 0), 0u) << line;
    }
}

} // namespace
