#include "driver/mpi/scheduler.h"

#include <mpi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/mpi/cube_tree.h"
#include "driver/mpi/lookahead.h"
#include "driver/mpi/process_time.h"
#include "driver/mpi/sharing.h"
#include "driver/mpi/answer.h"
#include "driver/mpi/wire.h"
#include "driver/mpi/worker.h"
#include "driver/signals.h"

namespace vetrix {

namespace {

using Clock = std::chrono::steady_clock;

// Cubes of the first split per worker, about: enough that a worker rarely
// waits for one while another splits.
constexpr int FIRST_CUBES_PER_WORKER = 4;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// What the workers told of their own work when they ended.
struct WorkerTotals {
    double cpu = 0;
    std::uint64_t messages = 0, bytes = 0;
};

class Scheduler {
  public:
    Scheduler(const Cnf &cnf, const MpiOptions &options, CombinedProof &proof, int ranks);
    int run();

  private:
    void first_split();
    void hand_out();
    // The outcome of a worker's cube; false once the run is decided.
    bool take_result(int worker, Packet &packet);
    // Checks a worker's model; the run is decided either way.
    void take_model(const std::vector<int> &model);
    void stop_workers();
    void report(double wall) const;

    const Cnf &cnf_;
    const MpiOptions &options_;
    CombinedProof &proof_;
    int workers_;
    CubeTree tree_;
    ClausePool pool_;
    std::vector<int> idle_;       // workers without a cube
    std::vector<int> cube_of_;    // per rank: the node it solves, -1 when idle
    Verdict verdict_ = Verdict::unknown;
    std::vector<int> model_;
    std::string failure_;         // a worker's solver failed with this message
    WorkerTotals totals_;
    std::uint64_t conflicts_ = 0;
    double worker_solve_cpu_ = 0;
};

Scheduler::Scheduler(const Cnf &cnf, const MpiOptions &options, CombinedProof &proof, int ranks)
    : cnf_(cnf), options_(options), proof_(proof), workers_(ranks - 1),
      tree_(proof.is_open() ? CubeTree::ClauseSink([&proof](const std::vector<int> &c) { proof.clause(c); })
                            : CubeTree::ClauseSink()),
      pool_(ranks), cube_of_(static_cast<std::size_t>(ranks), -1) {
    proof.take_input(cnf, workers_);
    for (int w = ranks - 1; w >= 1; --w)
        idle_.push_back(w);
}

// Splits the root by lookahead, level by level, until there are about
// FIRST_CUBES_PER_WORKER cubes per worker.
void Scheduler::first_split() {
    Lookahead lookahead(cnf_);
    std::vector<int> level{0};
    for (int cubes = 1; cubes < FIRST_CUBES_PER_WORKER * workers_;) {
        std::vector<int> next;
        for (int node : level) {
            const int var = lookahead.best_variable(tree_.path(node));
            if (var == 0)
                continue; // the cube propagates to a conflict: a worker refutes it at once
            tree_.split(node, var);
            tree_.finish(node, 's', 0, 0);
            next.push_back(tree_.size() - 2);
            next.push_back(tree_.size() - 1);
            ++cubes;
        }
        if (next.empty())
            break;
        level.swap(next);
    }
}

void Scheduler::hand_out() {
    while (!idle_.empty()) {
        const int node = tree_.take();
        if (node < 0)
            return;
        const int worker = idle_.back();
        idle_.pop_back();
        cube_of_[static_cast<std::size_t>(worker)] = node;
        Packet packet;
        packet.put(node);
        packet.put(options_.budget);
        packet.put(tree_.path(node));
        for (const std::vector<int> &clause : pool_.pack_for(worker, packet))
            proof_.hold(clause); // the worker holds it now
        send(packet, worker, TAG_CUBE);
    }
}

void Scheduler::take_model(const std::vector<int> &model) {
    std::size_t clause = 0;
    if (!model_satisfies(cnf_, model, clause)) {
        failure_ = "vetrix-mpi: a worker's model falsifies clause " + std::to_string(clause + 1) + "\n";
        return;
    }
    verdict_ = Verdict::satisfiable;
    model_ = model;
}

bool Scheduler::take_result(int worker, Packet &packet) {
    const std::string steps = packet.get_bytes();
    // The pool holds the shared clauses for good: a deletion among the
    // steps must not take them out of the proof before they are forwarded.
    for (const std::vector<int> &clause : pool_.add_from(worker, packet))
        proof_.hold(clause);
    proof_.worker_steps(steps);
    const int node = static_cast<int>(packet.get());
    const double cpu = 1e-6 * static_cast<double>(packet.get());
    const std::int64_t conflicts = packet.get();
    const std::int64_t outcome = packet.get();
    worker_solve_cpu_ += cpu;
    conflicts_ += static_cast<std::uint64_t>(conflicts);
    cube_of_[static_cast<std::size_t>(worker)] = -1;
    idle_.push_back(worker);
    if (outcome == OUTCOME_FAILED) {
        failure_ = packet.get_bytes();
        return false;
    }
    const std::vector<int> payload = packet.get_ints();
    switch (outcome) {
    case OUTCOME_MODEL:
        tree_.finish(node, 'm', cpu, conflicts);
        take_model(payload);
        return false;
    case OUTCOME_REFUTED: {
        tree_.finish(node, 'r', cpu, conflicts);
        std::vector<int> running;
        tree_.refute(node, payload, running);
        for (int pruned : running)
            for (std::size_t w = 1; w < cube_of_.size(); ++w)
                if (cube_of_[w] == pruned) {
                    Packet cancel;
                    cancel.put(pruned);
                    send(cancel, static_cast<int>(w), TAG_CANCEL);
                }
        if (tree_.root_refuted())
            verdict_ = Verdict::unsatisfiable;
        return verdict_ == Verdict::unknown;
    }
    case OUTCOME_SPLIT:
        tree_.finish(node, 's', cpu, conflicts);
        if (tree_.closed(node))
            return true;
        if (payload[0] == 0)
            tree_.requeue(node); // no variable left open to split on: try it again
        else
            tree_.split(node, payload[0]);
        return true;
    case OUTCOME_CANCELLED:
        tree_.finish(node, 'c', cpu, conflicts);
        return true;
    default: // interrupted
        return false;
    }
}

// Tells every worker to end and takes what they still send until each has
// said it ended.
void Scheduler::stop_workers() {
    for (int w = 1; w <= workers_; ++w)
        send(Packet(), w, TAG_STOP);
    Packet packet;
    int from = 0, tag = 0;
    for (int done = 0; done < workers_;) {
        if (!try_receive(MPI_ANY_SOURCE, MPI_ANY_TAG, packet, from, tag)) {
            idle_pause();
            continue;
        }
        if (tag != TAG_DONE)
            continue;
        ++done;
        totals_.cpu += 1e-6 * static_cast<double>(packet.get());
        totals_.messages += static_cast<std::uint64_t>(packet.get());
        totals_.bytes += static_cast<std::uint64_t>(packet.get());
    }
}

int Scheduler::run() {
    const Clock::time_point start = Clock::now();
    first_split();
    Packet packet;
    int from = 0, tag = 0;
    bool going = true;
    while (going) {
        hand_out();
        if (try_receive(MPI_ANY_SOURCE, TAG_RESULT, packet, from, tag)) {
            going = take_result(from, packet);
            continue;
        }
        if (stop_signal_flag().load(std::memory_order_relaxed) ||
            (options_.time_limit > 0 && seconds_since(start) >= options_.time_limit))
            break;
        idle_pause();
    }
    stop_workers();
    const double wall = seconds_since(start);
    if (!failure_.empty()) {
        std::fwrite(failure_.data(), 1, failure_.size(), stdout);
        std::fflush(stdout);
        return 1;
    }
    print_verdict(verdict_, model_);
    if (options_.stats)
        report(wall);
    if (!options_.tree.empty()) {
        if (std::FILE *out = std::fopen(options_.tree.c_str(), "w")) {
            tree_.write(out);
            std::fclose(out);
        }
    }
    return exit_status(verdict_);
}

void Scheduler::report(double wall) const {
    const WireCounts &mine = wire_counts();
    std::fprintf(stderr, "c workers %d\n", workers_);
    std::fprintf(stderr, "c cubes %d refuted %d split %d pruned %d\n", tree_.size(), tree_.refutations(),
                 tree_.splits(), tree_.pruned());
    std::fprintf(stderr, "c shared clauses %zu\n", pool_.size());
    std::fprintf(stderr, "c worker conflicts %llu\n", static_cast<unsigned long long>(conflicts_));
    std::fprintf(stderr, "c messages %llu bytes %llu (rank 0 %llu / %llu)\n",
                 static_cast<unsigned long long>(mine.messages + totals_.messages),
                 static_cast<unsigned long long>(mine.bytes + totals_.bytes),
                 static_cast<unsigned long long>(mine.messages), static_cast<unsigned long long>(mine.bytes));
    std::fprintf(stderr, "c proof bytes %llu\n", static_cast<unsigned long long>(proof_.bytes()));
    std::fprintf(stderr, "c worker cpu %.3f s (solving %.3f s)\n", totals_.cpu, worker_solve_cpu_);
    std::fprintf(stderr, "c rank 0 cpu %.3f s\n", process_cpu_seconds());
    std::fprintf(stderr, "c wall %.3f s\n", wall);
}

} // namespace

int run_scheduler(const Cnf &cnf, const MpiOptions &options, CombinedProof &proof, int ranks) {
    catch_stop_signals();
    Scheduler scheduler(cnf, options, proof, ranks);
    return scheduler.run();
}

} // namespace vetrix
