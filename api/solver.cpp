// vetrix::Solver: the library's incremental solver, with the limits and
// hooks of its next call.
#include "vetrix/solver.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "api/settings.h"
#include "solver/engine.h"
#include "solver/proof.h"
#include "support/uponeub.h"

namespace vetrix {

struct Solver::Impl {
    Engine solver;
    std::vector<int> open; // the clause add() is building
    // What set() and the setters chose: the strategy, warm start, the proof's
    // format and every call's limits.
    Options settings;
    // Limits of the next call, before the settings' own.
    double time_limit = 0;
    std::int64_t conflicts = 0, decisions = 0, propagations = 0;
    // Hooks.
    const std::atomic<bool> *stop = nullptr;
    std::function<bool()> terminate;
    std::function<void(const std::vector<int> &)> learn;
    int learn_max = 0;
    std::function<void(const Progress &)> progress;
    std::unique_ptr<std::ofstream> proof_file; // opened by set("proof", path)
    std::ostream *proof_stream = nullptr;
    std::unique_ptr<ProofWriter> proof; // on proof_stream, made by the first call after set_proof

    explicit Impl(int strategy) : solver(strategy) { settings.strategy = strategy; }
    SolveControl control_of_call();
    ProofWriter *proof_of_call();
};

// The proof writer on proof_stream, made by the first call that writes it.
ProofWriter *Solver::Impl::proof_of_call() {
    if (proof_stream && !proof)
        proof = make_proof_writer(*proof_stream, settings.binary_proof, settings.lrat);
    return proof.get();
}

SolveControl Solver::Impl::control_of_call() {
    Options call = settings;
    call.stop = stop;
    if (time_limit > 0)
        call.time_limit = time_limit;
    if (conflicts > 0)
        call.conflict_limit = conflicts;
    if (decisions > 0)
        call.decision_limit = decisions;
    if (propagations > 0)
        call.propagation_limit = propagations;
    SolveControl control = control_of(call, SolveControl::Clock::now(), solver.stats());
    control.proof = proof_of_call();
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
void Solver::assume(int lit) { impl_->solver.assume(&lit, 1); }
void Solver::assume(const std::vector<int> &lits) { impl_->solver.assume(lits.data(), lits.size()); }
int Solver::max_var() { return max_vars(); }
void Solver::set_warm_start(bool on) { set("warm-start", on ? "1" : "0"); }

void Solver::set(std::string_view name, std::string_view value) {
    Options next = impl_->settings;
    set_option(next, name, value, FACE_INCREMENTAL);
    if (name == "strategy")
        impl_->solver.set_strategy(next.strategy, !impl_->open.empty());
    const bool format_changed =
        next.lrat != impl_->settings.lrat || next.binary_proof != impl_->settings.binary_proof;
    if (format_changed && impl_->proof)
        fatal("vetrix: the proof's format is chosen before the first solve that writes it\n");
    if (name == "proof")
        open_proof(std::string(value));
    impl_->settings = std::move(next);
}

// The proof file of set("proof", path), created or truncated now.
void Solver::open_proof(const std::string &path) {
    auto file = std::make_unique<std::ofstream>(path, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!*file)
        fatal("vetrix: cannot create proof file '" + path + "'\n");
    set_proof(file.get(), impl_->settings.binary_proof);
    impl_->proof_file = std::move(file);
}

Verdict Solver::solve() {
    return with_memory_guard([&] {
        const SolveControl control = impl_->control_of_call();
        impl_->time_limit = 0;
        impl_->conflicts = impl_->decisions = impl_->propagations = 0;
        return impl_->solver.solve(control);
    });
}

bool Solver::propagate(const std::vector<int> &lits, std::vector<int> &set) {
    return with_memory_guard([&] {
        SolveControl control;
        control.proof = impl_->proof_of_call();
        return impl_->solver.propagate(lits.data(), lits.size(), control, set);
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
    impl_->proof_file.reset();
    impl_->proof_stream = proof;
    impl_->settings.binary_proof = binary;
}

int Solver::strategy() const { return impl_->solver.strategy(); }
int Solver::num_vars() const { return impl_->solver.num_vars(); }
std::size_t Solver::num_clauses() const { return impl_->solver.num_clauses(); }
const Statistics &Solver::statistics() const { return impl_->solver.stats(); }

} // namespace vetrix
