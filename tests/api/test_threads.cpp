// Solves in several threads at once give the same answers as the same solves
// one after another: no state is shared between solves; a race's strategies
// share only the formula they read. tools/tsan.sh runs this under
// ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <vetrix/vetrix.h>

#include "api/formula.h"
#include "api/portfolio.h"
#include "tools/cnfgen.h"

using namespace vetrix;

namespace {

struct Job {
    int nb_var;
    cnfgen::Clauses clauses;
    vetrix::Options options;
};

// The verdict and model of a solve, or the error's message.
struct Outcome {
    vetrix::Verdict verdict = vetrix::Verdict::unknown;
    std::vector<int> model;
    std::string error;
    bool operator==(const Outcome &o) const { return verdict == o.verdict && model == o.model && error == o.error; }
};

Outcome run(const Job &job) {
    Outcome out;
    try {
        vetrix::Result r = vetrix::solve(job.nb_var, job.clauses, job.options);
        out.verdict = r.verdict;
        out.model = std::move(r.model);
    } catch (const vetrix::Error &e) {
        out.error = e.message();
    }
    return out;
}

// Random 3-SAT around the threshold with the reader's quirks, every
// strategy, and some clause lists with a literal out of range.
std::vector<Job> jobs() {
    std::vector<Job> all;
    for (uint64_t seed = 1; seed <= 24; ++seed) {
        cnfgen::Rng rng(seed);
        cnfgen::Formula f = cnfgen::uniform_ksat(rng, 30 + rng.below(40), 3, 400 + rng.below(60));
        cnfgen::add_quirks(rng, f, cnfgen::Quirks{});
        if (seed % 6 == 0)
            f.clauses.push_back({f.nb_var + 1});
        Job job{f.nb_var, f.clauses, vetrix::Options()};
        job.options.strategy = static_cast<int>(seed % 3);
        all.push_back(job);
    }
    return all;
}

TEST(ApiThreads, ConcurrentSolvesGiveTheSerialAnswers) {
    const std::vector<Job> all = jobs();
    std::vector<Outcome> serial;
    for (const Job &job : all)
        serial.push_back(run(job));

    std::vector<Outcome> parallel(all.size());
    std::atomic<size_t> next{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (size_t i; (i = next++) < all.size();)
                parallel[i] = run(all[i]);
        });
    for (std::thread &t : threads)
        t.join();

    int errors = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_TRUE(parallel[i] == serial[i]) << "job " << i;
        errors += !serial[i].error.empty();
    }
    EXPECT_EQ(errors, 4);
}

// The job's formula as the solver holds it.
std::unique_ptr<Formula> formula_of(const Job &job) {
    auto formula = std::make_unique<Formula>();
    ClauseBuilder builder(*formula, job.nb_var, static_cast<int>(job.clauses.size()));
    for (const std::vector<int> &clause : job.clauses)
        add_literals(builder, clause.data(), clause.size());
    return formula;
}

const std::vector<RaceEntrant> ALL_THREE = {{0, nullptr}, {1, nullptr}, {2, nullptr}};

// A race reports exactly the serial answer of the strategy that won it,
// whether it waits for the others or leaves them to stop in the background;
// a raised stop flag ends every strategy at its first decision.
TEST(ApiThreads, PortfolioReportsTheWinnersSerialAnswer) {
    std::vector<Job> some = jobs();
    some.resize(8); // under ThreadSanitizer a race of three costs seconds
    for (const Job &job : some) {
        if (!run(job).error.empty())
            continue;
        for (bool wait_for_all : {true, false}) {
            const RaceResult race =
                race_strategies(formula_of(job), job.nb_var, ALL_THREE, SolveControl(), wait_for_all);
            ASSERT_TRUE(race.decided);
            Job alone = job;
            alone.options.strategy = ALL_THREE[race.winner].strategy;
            const Outcome serial = run(alone);
            EXPECT_EQ(race.outcome.verdict, serial.verdict);
            EXPECT_EQ(race.outcome.model, serial.model);
            EXPECT_EQ(race.conflicts.size(), wait_for_all ? 3u : 0u);
        }
    }
    const std::atomic<bool> stop{true};
    SolveControl control;
    control.stop = &stop;
    const Job job = jobs().front();
    const RaceResult race = race_strategies(formula_of(job), job.nb_var, ALL_THREE, control, true);
    EXPECT_FALSE(race.decided);
    EXPECT_EQ(race.winner, 0u);
    EXPECT_EQ(race.outcome.verdict, vetrix::Verdict::unknown);
    EXPECT_EQ(race.conflicts, std::vector<std::uint64_t>(3, 0));
}

// The library's race: each strategy writes its proof in its own thread into
// its own temporary file, and the winner's is copied once all have stopped.
TEST(ApiThreads, LibraryRaceCopiesTheWinnersProof) {
    std::vector<Job> some = jobs();
    some.resize(2);
    for (const Job &job : some) {
        std::ostringstream proof, alone_proof;
        Job race = job, alone = job;
        race.options.strategies = {0, 1, 2};
        race.options.proof = &proof;
        const vetrix::Result r = vetrix::solve(race.nb_var, race.clauses, race.options);
        alone.options.strategy = r.strategy;
        alone.options.proof = &alone_proof;
        EXPECT_EQ(run(alone).model, r.model);
        EXPECT_EQ(proof.str(), alone_proof.str());
    }
}

// Incremental solvers, one per thread, each through a sequence of calls
// under assumptions with clauses added between them (one solver's stop flag
// raised from another thread), answer as the same sequences one after
// another.
TEST(ApiThreads, IncrementalSolversInThreadsGiveTheSerialAnswers) {
    auto sequence = [](const Job &job, const std::atomic<bool> *stop) {
        std::vector<int> answers;
        vetrix::Solver solver(job.options.strategy);
        solver.set_stop(stop);
        for (size_t i = 0; i < job.clauses.size(); ++i) {
            solver.add_clause(job.clauses[i]);
            if (i % 20 != 19)
                continue;
            solver.assume(static_cast<int>(i % 7) + 1);
            try {
                answers.push_back(static_cast<int>(solver.solve()));
            } catch (const vetrix::Error &) {
                answers.push_back(-1);
            }
        }
        return answers;
    };
    std::vector<Job> all = jobs();
    all.resize(8);
    std::vector<std::vector<int>> serial, threaded(all.size());
    for (const Job &job : all)
        serial.push_back(sequence(job, nullptr));
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (size_t k = 0; k < all.size(); ++k)
        threads.emplace_back([&, k] { threaded[k] = sequence(all[k], k == 0 ? &stop : nullptr); });
    stop = false; // written from this thread while solver 0 reads it
    for (std::thread &t : threads)
        t.join();
    EXPECT_EQ(threaded, serial);
}

} // namespace
