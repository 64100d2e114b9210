#include "api/portfolio.h"

#include <atomic>
#include <condition_variable>
#include <ctime>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "api/run.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

// One entrant's solve as the race sees it.
struct Lane {
    SolveControl control; // the race's control with the entrant's proof and the cancel flag
    bool ended = false;
    SolveOutcome outcome{};
    std::exception_ptr failure; // set when the solve failed
    double cpu_seconds = 0;     // the CPU time of the entrant's thread
};

// What the caller and the entrants' threads share. Lane k is written only
// by entrant k's thread, under the mutex, when its solve ends.
struct Race {
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<bool> cancel{false}; // raised when an entrant decides
    std::vector<Lane> lanes;
    std::size_t ended = 0;
    int winner = -1;
};

// The CPU time the calling thread has used so far.
double thread_cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

bool decided(const SolveOutcome &outcome) { return outcome.verdict != Verdict::unknown; }

void run_lane(std::shared_ptr<Race> race, std::size_t k, std::shared_ptr<const Formula> formula,
              int nb_var, int strategy) {
    Lane &lane = race->lanes[k];
    SolveOutcome outcome{};
    std::exception_ptr failure;
    try {
        outcome = with_memory_guard(
            [&] { return solve_shared_formula(std::move(formula), nb_var, strategy, &lane.control); });
    } catch (...) {
        failure = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(race->mutex);
    lane.outcome = std::move(outcome);
    lane.failure = failure;
    lane.cpu_seconds = thread_cpu_seconds();
    lane.ended = true;
    ++race->ended;
    if (!failure && race->winner < 0 && decided(lane.outcome)) {
        race->winner = static_cast<int>(k);
        race->cancel.store(true, std::memory_order_relaxed);
    }
    race->changed.notify_all();
}

// The entrant reported when none decided: the first that did not fail.
std::size_t first_without_failure(const Race &race) {
    for (std::size_t k = 0; k < race.lanes.size(); ++k)
        if (!race.lanes[k].failure)
            return k;
    std::rethrow_exception(race.lanes.front().failure);
}

} // namespace

RaceResult race_strategies(std::unique_ptr<Formula> formula, int nb_var,
                           const std::vector<RaceEntrant> &entrants, const SolveControl &control,
                           bool wait_for_all) {
    auto race = std::make_shared<Race>();
    race->lanes.resize(entrants.size());
    for (std::size_t k = 0; k < entrants.size(); ++k) {
        race->lanes[k].control = control;
        race->lanes[k].control.proof = entrants[k].proof;
        race->lanes[k].control.cancel = &race->cancel;
        race->lanes[k].control.progress = nullptr; // a losing lane may outlive the caller's callback
        wait_for_all = wait_for_all || entrants[k].proof;
    }
    std::vector<std::thread> threads;
    {
        std::shared_ptr<const Formula> shared(std::move(formula));
        try {
            for (std::size_t k = 0; k < entrants.size(); ++k)
                threads.emplace_back(run_lane, race, k, shared, nb_var, entrants[k].strategy);
        } catch (...) { // no thread to be had: the started ones stop, then the failure goes on
            race->cancel.store(true, std::memory_order_relaxed);
            for (std::thread &t : threads)
                t.join();
            throw;
        }
    }
    {
        std::unique_lock<std::mutex> lock(race->mutex);
        race->changed.wait(lock, [&] { return race->winner >= 0 || race->ended == race->lanes.size(); });
    }
    for (std::thread &t : threads)
        wait_for_all ? t.join() : t.detach();
    std::lock_guard<std::mutex> lock(race->mutex);
    RaceResult result;
    if (wait_for_all)
        for (const Lane &lane : race->lanes) {
            result.conflicts.push_back(lane.failure ? 0 : lane.outcome.stats.conflicts);
            result.cpu_seconds.push_back(lane.cpu_seconds);
        }
    result.decided = race->winner >= 0;
    result.winner = result.decided ? static_cast<std::size_t>(race->winner) : first_without_failure(*race);
    result.outcome = std::move(race->lanes[result.winner].outcome);
    return result;
}

RaceResult race_file(const char *file_name, const std::vector<RaceEntrant> &entrants,
                     const SolveControl &control, bool wait_for_all) {
    return with_memory_guard([&] {
        auto formula = std::make_unique<Formula>();
        int nb_var = 0;
        load_formula(file_name, *formula, nb_var);
        return race_strategies(std::move(formula), nb_var, entrants, control, wait_for_all);
    });
}

} // namespace vetrix
