#include "driver/mpi/worker.h"

#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "driver/mpi/dimacs.h"
#include "driver/mpi/lookahead.h"
#include "driver/mpi/process_time.h"
#include "driver/mpi/sharing.h"
#include "driver/mpi/wire.h"
#include "driver/signals.h"
#include "vetrix/vetrix.h"

namespace vetrix {

namespace {

constexpr int POLL_EVERY = 1024; // solver calls of the terminate hook between two probes
constexpr double ACTIVITY_GROWTH = 1.05;

// The outcome of a cube the solver failed on, with its message.
Packet failure(std::int64_t cube, const std::string &message) {
    Packet result;
    result.put_bytes("");
    pack_clauses({}, result);
    result.put(cube);
    result.put(0);
    result.put(0);
    result.put(OUTCOME_FAILED);
    result.put_bytes(message);
    return result;
}

// Answers rank 0's cubes by solve (false once rank 0 said stop meanwhile)
// until it says stop, then tells it this worker ended.
void serve(const std::function<bool(Packet &)> &solve) {
    Packet packet;
    int from = 0, tag = 0;
    for (;;) {
        if (try_receive(0, TAG_STOP, packet, from, tag))
            break;
        if (try_receive(0, TAG_CANCEL, packet, from, tag))
            continue; // for a cube already answered
        if (!try_receive(0, TAG_CUBE, packet, from, tag)) {
            idle_pause();
            continue;
        }
        if (!solve(packet))
            break;
    }
    Packet done;
    done.put(static_cast<std::int64_t>(process_cpu_seconds() * 1e6));
    done.put(static_cast<std::int64_t>(wire_counts().messages + 1));
    done.put(static_cast<std::int64_t>(wire_counts().bytes + 3 * sizeof(std::int64_t)));
    send(done, 0, TAG_DONE);
}

class Worker {
  public:
    Worker(const Cnf &cnf, const MpiOptions &options);
    // Serves cubes until rank 0 says stop.
    void serve();

  private:
    bool should_stop();
    void learnt(const std::vector<int> &clause);
    int best_variable(const std::vector<int> &cube);
    // Solves the cube of packet; false when rank 0 said stop meanwhile.
    bool solve_cube(Packet &packet);
    void outcome_of_call(Verdict verdict, const std::vector<int> &cube, Packet &result);

    std::ostringstream proof_; // before solver_: the solver's proof writer flushes into it when destroyed
    Solver solver_;
    Lookahead lookahead_;
    const MpiOptions &options_;
    std::vector<double> activity_; // per variable [1, num_vars]: bumped by the learnt clauses it occurs in
    std::vector<char> fixed_;      // per variable: a learnt or shared unit clause holds it
    double bump_ = 1;
    std::vector<std::vector<int>> outbox_; // short learnt clauses to share
    std::int64_t cube_ = -1;
    int calls_ = 0;
    bool stopped_ = false, cancelled_ = false;
};

Worker::Worker(const Cnf &cnf, const MpiOptions &options)
    : solver_(options.strategy), lookahead_(cnf), options_(options),
      activity_(static_cast<std::size_t>(cnf.num_vars) + 1, 0), fixed_(activity_.size(), 0) {
    solver_.declare_vars(cnf.num_vars);
    for (const std::vector<int> &clause : cnf.clauses)
        solver_.add_clause(clause);
    solver_.set_warm_start(options.warm_start);
    if (!options.proof.empty())
        solver_.set_proof(&proof_);
    solver_.set_learn(1 << 30, [this](const std::vector<int> &clause) { learnt(clause); });
    solver_.set_terminate([this] { return should_stop(); });
}

// Probes for rank 0's stop and cancel messages every POLL_EVERY calls.
bool Worker::should_stop() {
    if (stop_signal_flag().load(std::memory_order_relaxed))
        return true;
    if (++calls_ < POLL_EVERY)
        return false;
    calls_ = 0;
    Packet packet;
    int from = 0, tag = 0;
    if (try_receive(0, TAG_STOP, packet, from, tag))
        stopped_ = true;
    while (try_receive(0, TAG_CANCEL, packet, from, tag))
        cancelled_ = cancelled_ || packet.get() == cube_;
    return stopped_ || cancelled_;
}

void Worker::learnt(const std::vector<int> &clause) {
    for (int lit : clause)
        activity_[var_of(lit)] += bump_;
    bump_ *= ACTIVITY_GROWTH;
    if (bump_ > 1e100) {
        for (double &a : activity_)
            a *= 1e-100;
        bump_ *= 1e-100;
    }
    if (clause.size() == 1)
        fixed_[var_of(clause[0])] = 1;
    if (static_cast<int>(clause.size()) <= options_.share)
        outbox_.push_back(clause);
}

// The variable the search was busiest with, among those the cube and the
// unit clauses leave open; the lookahead's choice when the search learnt
// nothing about any of them.
int Worker::best_variable(const std::vector<int> &cube) {
    std::vector<char> in_cube(activity_.size(), 0);
    for (int lit : cube)
        in_cube[var_of(lit)] = 1;
    std::size_t best = 0; // activity_[0] stays 0
    for (std::size_t v = 1; v < activity_.size(); ++v)
        if (!in_cube[v] && !fixed_[v] && activity_[v] > activity_[best])
            best = v;
    return best != 0 ? static_cast<int>(best) : lookahead_.best_variable(cube);
}

void Worker::outcome_of_call(Verdict verdict, const std::vector<int> &cube, Packet &result) {
    if (verdict == Verdict::satisfiable) {
        result.put(OUTCOME_MODEL);
        result.put(solver_.model());
    } else if (verdict == Verdict::unsatisfiable) {
        result.put(OUTCOME_REFUTED);
        result.put(solver_.failed_assumptions());
    } else if (stop_signal_flag().load(std::memory_order_relaxed)) {
        result.put(OUTCOME_INTERRUPTED);
        result.put(std::vector<int>());
    } else if (cancelled_) {
        result.put(OUTCOME_CANCELLED);
        result.put(std::vector<int>());
    } else {
        result.put(OUTCOME_SPLIT);
        result.put(std::vector<int>{best_variable(cube)});
    }
}

bool Worker::solve_cube(Packet &packet) {
    cube_ = packet.get();
    const std::int64_t budget = packet.get();
    const std::vector<int> cube = packet.get_ints();
    for (const std::vector<int> &clause : unpack_clauses(packet)) {
        if (clause.size() == 1)
            fixed_[var_of(clause[0])] = 1;
        solver_.add_clause(clause);
    }
    cancelled_ = false;
    for (int lit : cube)
        solver_.assume(lit);
    solver_.limit_conflicts(budget);
    const double cpu = process_cpu_seconds();
    const std::uint64_t conflicts = solver_.statistics().conflicts;
    Packet result;
    try {
        const Verdict verdict = solver_.solve();
        if (stopped_)
            return false;
        // The proof steps first: rank 0 writes them before it takes the
        // shared clauses and the outcome that rest on them.
        result.put_bytes(proof_.str());
        proof_.str("");
        pack_clauses(outbox_, result);
        outbox_.clear();
        result.put(cube_);
        result.put(static_cast<std::int64_t>((process_cpu_seconds() - cpu) * 1e6));
        result.put(static_cast<std::int64_t>(solver_.statistics().conflicts - conflicts));
        outcome_of_call(verdict, cube, result);
    } catch (const Error &e) {
        result = failure(cube_, e.message());
    }
    send(result, 0, TAG_RESULT);
    return true;
}

void Worker::serve() {
    vetrix::serve([this](Packet &packet) { return solve_cube(packet); });
}

} // namespace

int run_worker(const Cnf &cnf, const MpiOptions &options) {
    // A signal to every rank (srun, scancel) stops the cube at hand; the
    // worker tells rank 0 and ends when it says so.
    catch_stop_signals();
    std::unique_ptr<Worker> worker;
    try {
        worker = std::make_unique<Worker>(cnf, options);
    } catch (const Error &e) {
        // No solver for this formula: every cube gets the message, which
        // ends the run on rank 0.
        const std::string message = e.message();
        serve([&message](Packet &packet) {
            send(failure(packet.get(), message), 0, TAG_RESULT);
            return true;
        });
        return 1;
    }
    worker->serve();
    return 0;
}

} // namespace vetrix
