// vetrix::Solver: the library's incremental solver, with the limits and
// hooks of its next call.
#include "vetrix/solver.h"

#include <algorithm>

#include "api/incremental.h"
#include "solver/proof.h"
#include "support/uponeub.h"

namespace vetrix {

struct Solver::Impl {
    Incremental solver;
    std::vector<int> open; // the clause add() is building
    // Limits of the next call.
    double time_limit = 0;
    std::int64_t conflicts = 0, decisions = 0, propagations = 0;
    // Hooks.
    const std::atomic<bool> *stop = nullptr;
    std::function<bool()> terminate;
    std::function<void(const std::vector<int> &)> learn;
    int learn_max = 0;
    std::function<void(const Progress &)> progress;
    std::unique_ptr<ProofWriter> proof;

    explicit Impl(int strategy) : solver(strategy) {}
    SolveControl control_of_call() const;
};

namespace {

std::uint64_t limit_after(std::uint64_t count, std::int64_t budget) {
    return budget > 0 ? count + static_cast<std::uint64_t>(budget) : SolveControl::NO_LIMIT;
}

} // namespace

SolveControl Solver::Impl::control_of_call() const {
    SolveControl control;
    control.stop = stop;
    if (time_limit > 0)
        control.deadline = deadline_after(control.start, time_limit);
    const Statistics &done = solver.stats();
    control.conflict_limit = limit_after(done.conflicts, conflicts);
    control.decision_limit = limit_after(done.decisions, decisions);
    control.propagation_limit = limit_after(done.propagations, propagations);
    control.proof = proof.get();
    if (terminate)
        control.terminate = &terminate;
    if (learn) {
        control.learn = &learn;
        control.learn_max_size = learn_max;
    }
    if (progress)
        control.progress = &progress;
    return control;
}

Solver::Solver(int strategy) : impl_(std::make_unique<Impl>(strategy)) {}
Solver::~Solver() = default;
Solver::Solver(Solver &&) noexcept = default;
Solver &Solver::operator=(Solver &&) noexcept = default;

void Solver::add(int lit) {
    if (lit != 0) {
        impl_->open.push_back(lit);
        return;
    }
    std::vector<int> clause;
    clause.swap(impl_->open);
    add_clause(clause);
}

void Solver::add_clause(const std::vector<int> &clause) { add_clause(clause.data(), clause.size()); }

void Solver::add_clause(const int *lits, std::size_t size) {
    with_memory_guard([&] { impl_->solver.add_clause(lits, size); });
}

void Solver::declare_vars(int num_vars) { impl_->solver.declare_vars(num_vars); }
void Solver::assume(int lit) { impl_->solver.assume(lit); }
void Solver::set_warm_start(bool on) { impl_->solver.warm_start(on); }

Verdict Solver::solve() {
    return with_memory_guard([&] {
        const SolveControl control = impl_->control_of_call();
        impl_->time_limit = 0;
        impl_->conflicts = impl_->decisions = impl_->propagations = 0;
        return impl_->solver.solve(control);
    });
}

int Solver::value(int lit) const {
    const std::vector<int> &m = model();
    const std::size_t v = static_cast<std::size_t>(lit < 0 ? -static_cast<long long>(lit) : lit);
    const bool var_true = v >= 1 && v <= m.size() && m[v - 1] > 0;
    return (lit > 0) == var_true ? lit : -lit;
}

const std::vector<int> &Solver::model() const {
    if (impl_->solver.last() != Verdict::satisfiable)
        fatal("no model: the last solve was not satisfiable\n");
    return impl_->solver.model();
}

bool Solver::failed(int lit) const {
    const std::vector<int> &f = failed_assumptions();
    return std::find(f.begin(), f.end(), lit) != f.end();
}

const std::vector<int> &Solver::failed_assumptions() const {
    if (impl_->solver.last() != Verdict::unsatisfiable)
        fatal("no failed assumptions: the last solve was not unsatisfiable\n");
    return impl_->solver.failed();
}

void Solver::limit_time(double seconds) { impl_->time_limit = seconds; }
void Solver::limit_conflicts(std::int64_t conflicts) { impl_->conflicts = conflicts; }
void Solver::limit_decisions(std::int64_t decisions) { impl_->decisions = decisions; }
void Solver::limit_propagations(std::int64_t propagations) { impl_->propagations = propagations; }

void Solver::set_stop(const std::atomic<bool> *stop) { impl_->stop = stop; }
void Solver::set_terminate(std::function<bool()> terminate) { impl_->terminate = std::move(terminate); }

void Solver::set_learn(int max_size, std::function<void(const std::vector<int> &)> learn) {
    impl_->learn_max = max_size;
    impl_->learn = std::move(learn);
}

void Solver::set_progress(std::function<void(const Progress &)> progress) { impl_->progress = std::move(progress); }

void Solver::set_proof(std::ostream *proof, bool binary) {
    impl_->proof.reset();
    if (proof)
        impl_->proof = std::make_unique<ProofWriter>(*proof, binary ? ProofWriter::Format::binary
                                                                    : ProofWriter::Format::text);
}

int Solver::strategy() const { return impl_->solver.strategy(); }
int Solver::num_vars() const { return impl_->solver.num_vars(); }
std::size_t Solver::num_clauses() const { return impl_->solver.num_clauses(); }
const Statistics &Solver::statistics() const { return impl_->solver.stats(); }

} // namespace vetrix
