// Options::strategies: a race gives exactly the answer, counters and proof of
// the strategy it reports, solved alone; a list of one is a single solve; a
// bad list fails with its message; a raised stop flag stops every strategy.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
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

namespace {

namespace fs = std::filesystem;

vetrix::Options racing(std::vector<int> strategies) {
    vetrix::Options options;
    options.strategies = std::move(strategies);
    return options;
}

vetrix::Options alone(int n) {
    vetrix::Options options;
    options.strategy = n;
    return options;
}

void expect_same_stats(const vetrix::Statistics &a, const vetrix::Statistics &b) {
    EXPECT_EQ(a.conflicts, b.conflicts);
    EXPECT_EQ(a.decisions, b.decisions);
    EXPECT_EQ(a.propagations, b.propagations);
    EXPECT_EQ(a.visits, b.visits);
    EXPECT_EQ(a.passes, b.passes);
    EXPECT_EQ(a.reviews_root, b.reviews_root);
    EXPECT_EQ(a.reviews_plain, b.reviews_plain);
    EXPECT_EQ(a.recipes_included, b.recipes_included);
    EXPECT_EQ(a.recipes_deleted, b.recipes_deleted);
    EXPECT_EQ(a.cubes_held, b.cubes_held);
}

// The race's answer is the one its reported strategy, one of the listed,
// gives alone: verdict, model and counters.
void expect_the_winners_answer(const std::function<vetrix::Result(const vetrix::Options &)> &solve,
                               const std::vector<int> &strategies) {
    const vetrix::Result race = solve(racing(strategies));
    ASSERT_NE(std::find(strategies.begin(), strategies.end(), race.strategy), strategies.end());
    const vetrix::Result solo = solve(alone(race.strategy));
    EXPECT_NE(race.verdict, vetrix::Verdict::unknown);
    EXPECT_EQ(race.verdict, solo.verdict);
    EXPECT_EQ(race.model, solo.model);
    expect_same_stats(race.stats, solo.stats);
    EXPECT_EQ(solo.strategy, race.strategy);
}

const std::vector<std::vector<int>> LISTS = {{0, 1, 2}, {2, 1, 0}, {1, 2}};

// The input fixtures that decide a formula, the golden cases' formulas and a
// slice of the corpus's small tier, through the file, text and clause calls.
TEST(ApiRace, GivesTheAnswerOfTheWinnerAlone) {
    const std::string inputs = harness::source_path("tests/inputs");
    std::vector<std::string> deciding;
    for (const fs::directory_entry &e : fs::directory_iterator(inputs)) {
        const std::string out = harness::read_file(e.path().string());
        if (e.path().extension() == ".out" && out.rfind("s ", 0) == 0 && out != "s UNKNOWN\n")
            deciding.push_back(e.path().stem().string());
    }
    std::sort(deciding.begin(), deciding.end());
    int raced = 0;
    for (const std::string &name : deciding) {
        SCOPED_TRACE(name);
        const std::string text = harness::read_file(inputs + "/" + name + ".cnf");
        expect_the_winners_answer([&](const vetrix::Options &o) { return vetrix::solve_dimacs(text, o); },
                                  LISTS[raced++ % LISTS.size()]);
    }
    EXPECT_GE(raced, 20);

    std::vector<std::string> files;
    const std::string golden = harness::source_path("../shared/golden/cases");
    if (fs::is_directory(golden))
        for (const fs::directory_entry &e : fs::directory_iterator(golden))
            if (e.path().extension() == ".cnf")
                files.push_back(e.path().string());
    std::ifstream manifest(harness::corpus_dir() + "/MANIFEST.tsv");
    std::string line;
    for (int row = 0; std::getline(manifest, line);)
        if (line.size() > 6 && line.compare(line.size() - 6, 6, "\tsmall") == 0 && row++ % 150 == 0)
            files.push_back(harness::corpus_dir() + "/" + line.substr(0, line.find('\t')));
    std::sort(files.begin(), files.end());
    for (const std::string &file : files) {
        SCOPED_TRACE(file);
        const std::vector<int> &list = LISTS[raced++ % LISTS.size()];
        if (raced % 2) {
            expect_the_winners_answer([&](const vetrix::Options &o) { return vetrix::solve_file(file, o); }, list);
            continue;
        }
        int nb_var = 0;
        harness::Clauses clauses;
        ASSERT_TRUE(harness::read_cnf(file, nb_var, clauses));
        expect_the_winners_answer([&](const vetrix::Options &o) { return vetrix::solve(nb_var, clauses, o); },
                                  list);
    }
    if (files.empty())
        GTEST_SKIP() << "neither the golden cases nor the corpus found: only the fixtures raced";
}

// A list of one strategy is the single solve of it, counters and progress
// reports included (the list replaces the strategy).
TEST(ApiRace, OneStrategyIsASingleSolve) {
    const cnfgen::Formula php = cnfgen::pigeonhole(5);
    for (int n = 0; n <= 2; ++n) {
        SCOPED_TRACE("strategy " + std::to_string(n));
        vetrix::Options options = racing({n});
        options.strategy = 7;
        int reports = 0;
        options.progress = [&](const vetrix::Progress &) { ++reports; };
        const vetrix::Result one = vetrix::solve(php.nb_var, php.clauses, options);
        const vetrix::Result solo = vetrix::solve(php.nb_var, php.clauses, alone(n));
        EXPECT_EQ(one.verdict, vetrix::Verdict::unsatisfiable);
        EXPECT_EQ(one.verdict, solo.verdict);
        EXPECT_EQ(one.strategy, n);
        EXPECT_EQ(solo.strategy, n);
        expect_same_stats(one.stats, solo.stats);
        EXPECT_GE(reports, 1);
    }
}

TEST(ApiRace, BadListsFailWithTheirMessage) {
    const std::string missing = testing::TempDir() + "vetrix-no-such-file.cnf";
    vetrix::Options with_progress = racing({0, 1});
    with_progress.progress = [](const vetrix::Progress &) {};
    const struct {
        vetrix::Options options;
        std::string message;
    } rows[] = {
        {racing({4}), "wrong strategy 4\n"},
        {racing({0, -1}), "wrong strategy -1\n"},
        {racing({1, 2, 1}), "repeated strategy 1\n"},
        {racing({0, 0, 5}), "repeated strategy 0\n"},
        {with_progress, "progress reports are not given by a race of strategies\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        const std::function<vetrix::Result()> calls[] = {
            [&] { return vetrix::solve(2, {{1, -2}, {2}}, row.options); },
            [&] { return vetrix::solve_dimacs("p cnf 1 0\n", row.options); },
            [&] { return vetrix::solve_file(missing, row.options); }, // checked before the file is opened
        };
        for (const auto &call : calls) {
            try {
                call();
                ADD_FAILURE() << "no error";
            } catch (const vetrix::Error &e) {
                EXPECT_EQ(e.message(), row.message);
                EXPECT_EQ(e.status(), 1);
            }
        }
    }
}

// The proof of a race is byte for byte the winner's alone, and it checks, in
// either format; a stop flag raised beforehand stops every strategy at its
// first decision, and the first listed is reported, as is its proof.
TEST(ApiRace, ProofIsTheWinnersAndStopGivesUnknown) {
    const cnfgen::Formula php = cnfgen::pigeonhole(5);
    for (const std::vector<int> &list : LISTS)
        for (const bool binary : {false, true}) {
            SCOPED_TRACE(binary ? "binary" : "text");
            std::ostringstream proof, solo_proof;
            vetrix::Options options = racing(list);
            options.proof = &proof;
            options.binary_proof = binary;
            const vetrix::Result race = vetrix::solve(php.nb_var, php.clauses, options);
            EXPECT_EQ(race.verdict, vetrix::Verdict::unsatisfiable);
            vetrix::Options solo = alone(race.strategy);
            solo.proof = &solo_proof;
            solo.binary_proof = binary;
            vetrix::solve(php.nb_var, php.clauses, solo);
            EXPECT_EQ(proof.str(), solo_proof.str());
            const dratcheck::Verdict checked = dratcheck::check_proof(
                php.clauses, proof.str(), binary ? dratcheck::ProofFormat::binary : dratcheck::ProofFormat::text);
            EXPECT_TRUE(checked.valid && checked.refuted) << checked.error;
        }
    const std::atomic<bool> stop{true};
    for (const std::vector<int> &list : LISTS) {
        std::ostringstream proof;
        vetrix::Options options = racing(list);
        options.stop = &stop;
        options.proof = &proof;
        const vetrix::Result race = vetrix::solve(php.nb_var, php.clauses, options);
        EXPECT_EQ(race.verdict, vetrix::Verdict::unknown);
        EXPECT_EQ(race.strategy, list.front());
        EXPECT_EQ(race.stats.decisions, 0u);
        EXPECT_EQ(proof.str(), "");
    }
}

} // namespace
