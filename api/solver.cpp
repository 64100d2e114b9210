// vetrix::Solver: one solver state kept across calls. Clauses collect in a
// formula until the next call; the first call builds the state from it
// exactly as a one-shot solve does (so that its answer is the one-shot
// answer), later calls add the new clauses to the state they keep.
#include "vetrix/solver.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>

#include "api/formula.h"
#include "api/run.h"
#include "reader/clause_builder.h"
#include "solver/base_m456.h"
#include "solver/proof.h"
#include "support/uponeub.h"

namespace vetrix {

struct Solver::Impl {
    int strategy;
    std::unique_ptr<CHpGN56> state;      // built by the first call
    std::unique_ptr<Formula> pending;    // clauses added since the last call
    std::unique_ptr<ClauseBuilder> builder; // fills pending, for builder_vars variables
    int builder_vars = 0;
    int nb_var = 0;                      // largest variable named or declared
    std::size_t nb_clauses = 0;          // clauses added
    std::vector<int> open;               // the clause add() is building
    std::vector<int> assumptions;        // for the next call
    bool refuted = false;                // the clauses alone are unsatisfiable
    Verdict last = Verdict::unknown;
    std::vector<int> model;              // after satisfiable
    std::vector<int> failed;             // after unsatisfiable
    Statistics no_stats;                 // the counters before the first call

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

    explicit Impl(int strategy_) : strategy(strategy_), pending(std::make_unique<Formula>()) {}

    void add_clause(const int *lits, std::size_t size);
    Verdict solve();

  private:
    void builder_for(int vars);
    bool load_pending(int vars);
    SolveControl control_of_call();
    Verdict answer(CHpGN56 &s, const std::vector<int> &assumed);
    void forget_limits() {
        time_limit = 0;
        conflicts = decisions = propagations = 0;
    }
};

namespace {

std::uint64_t limit_after(std::uint64_t count, std::int64_t budget) {
    return budget > 0 ? count + static_cast<std::uint64_t>(budget) : SolveControl::NO_LIMIT;
}

[[noreturn]] void literal_out_of_range(int lit, std::size_t clause) {
    fatal("literal " + std::to_string(lit) + " out of range in clause " + std::to_string(clause) + "\n");
}

int variable_of(int lit) { return lit < 0 ? -lit : lit; }

// The codes that make the assumptions true: an assumption holds when the
// code of its complement is set, for that code's input literal is then false.
std::vector<int> codes_of(const std::vector<int> &assumptions) {
    std::vector<int> codes;
    codes.reserve(assumptions.size());
    for (int lit : assumptions)
        codes.push_back(dimacs_to_code(variable_of(lit), lit > 0));
    return codes;
}

// The state between calls: at the root, no assumptions, no caller's control.
void end_call(CHpGN56 &s) {
    s.control = nullptr;
    s.assumed = nullptr;
    s.nb_assumed = 0;
}

} // namespace

// A builder's literal marks are sized by its variable count: it is made
// anew, for at least twice as many variables, when a clause names more.
void Solver::Impl::builder_for(int vars) {
    if (builder && vars <= builder_vars)
        return;
    builder_vars = std::max(vars, std::min(2 * builder_vars, max_vars()));
    builder = std::make_unique<ClauseBuilder>(*pending, builder_vars, 0);
}

void Solver::Impl::add_clause(const int *lits, std::size_t size) {
    const std::size_t number = nb_clauses + 1;
    int vars = nb_var;
    for (std::size_t k = 0; k < size; ++k) {
        if (lits[k] == 0 || lits[k] == INT_MIN || variable_of(lits[k]) > max_vars())
            literal_out_of_range(lits[k], number);
        vars = std::max(vars, variable_of(lits[k]));
    }
    builder_for(vars);
    vetrix::add_clause(*builder, lits, size);
    nb_var = vars;
    nb_clauses = number;
}

// Brings the clauses added since the last call into the state, building it
// at the first call exactly as a one-shot solve builds its own; false when
// they refute the formula on their own.
bool Solver::Impl::load_pending(int vars) {
    Formula &f = *pending;
    bool consistent = !f.has_empty_clause() && !f.has_complementary_units();
    if (consistent && !state) {
        state = std::make_unique<CHpGN56>(f, nb_var, strategy);
        load_cube_base(f, *state); // consumes f
        make_growable(*state);
    } else if (consistent && f.clause_count() > 0) {
        if (vars > state->nb_var)
            grow_variables(*state, vars);
        consistent = add_input_cubes(*state, f);
    }
    if (consistent && vars > state->nb_var)
        grow_variables(*state, vars);
    builder.reset();
    pending = std::make_unique<Formula>();
    return consistent;
}

SolveControl Solver::Impl::control_of_call() {
    SolveControl control;
    control.stop = stop;
    if (time_limit > 0)
        control.deadline = deadline_after(control.start, time_limit);
    const Statistics &done = state->stats;
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

Verdict Solver::Impl::answer(CHpGN56 &s, const std::vector<int> &assumed) {
    switch (s.result) {
    case RESULT_SAT:
        return checked_model(s, model) ? Verdict::satisfiable : Verdict::unknown;
    case RESULT_FAILED:
        for (int k : s.failed_assumed)
            if (std::find(failed.begin(), failed.end(), assumed[static_cast<size_t>(k)]) == failed.end())
                failed.push_back(assumed[static_cast<size_t>(k)]);
        return Verdict::unsatisfiable;
    case RESULT_UNSAT:
        refuted = true;
        return Verdict::unsatisfiable;
    default:
        return Verdict::unknown;
    }
}

Verdict Solver::Impl::solve() {
    const std::vector<int> assumed = std::move(assumptions);
    assumptions.clear();
    model.clear();
    failed.clear();
    int vars = nb_var;
    for (int lit : assumed)
        vars = std::max(vars, variable_of(lit));
    if (!refuted && !load_pending(vars)) {
        refuted = true;
        SolveControl control;
        control.proof = proof.get();
        proof_finish(&control, true);
    }
    if (refuted) {
        forget_limits();
        return last = Verdict::unsatisfiable;
    }
    CHpGN56 &s = *state;
    SolveControl control = control_of_call();
    const std::vector<int> codes = codes_of(assumed);
    s.assumed = codes.data();
    s.nb_assumed = static_cast<int>(codes.size());
    s.control = &control;
    forget_limits();
    try {
        search_call(s, &control);
    } catch (...) {
        // A progress callback's exception: the state goes back to the root
        // and stays usable.
        undo_to_root(s);
        end_call(s);
        throw;
    }
    end_call(s);
    return last = answer(s, assumed);
}

Solver::Solver(int strategy) {
    check_strategy(strategy);
    impl_ = std::make_unique<Impl>(strategy);
}

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
    with_memory_guard([&] { impl_->add_clause(lits, size); });
}

void Solver::declare_vars(int num_vars) {
    if (num_vars < 0 || num_vars > max_vars())
        fatal("wrong array size\n");
    impl_->nb_var = std::max(impl_->nb_var, num_vars);
}

void Solver::assume(int lit) {
    if (lit == 0 || lit == INT_MIN || variable_of(lit) > max_vars())
        fatal("assumption " + std::to_string(lit) + " out of range\n");
    impl_->assumptions.push_back(lit);
}

Verdict Solver::solve() {
    return with_memory_guard([&] { return impl_->solve(); });
}

int Solver::value(int lit) const {
    if (impl_->last != Verdict::satisfiable)
        fatal("no model: the last solve was not satisfiable\n");
    const std::size_t v = static_cast<std::size_t>(variable_of(lit));
    const bool var_true = v >= 1 && v <= impl_->model.size() && impl_->model[v - 1] > 0;
    return (lit > 0) == var_true ? lit : -lit;
}

const std::vector<int> &Solver::model() const {
    if (impl_->last != Verdict::satisfiable)
        fatal("no model: the last solve was not satisfiable\n");
    return impl_->model;
}

bool Solver::failed(int lit) const {
    const std::vector<int> &f = failed_assumptions();
    return std::find(f.begin(), f.end(), lit) != f.end();
}

const std::vector<int> &Solver::failed_assumptions() const {
    if (impl_->last != Verdict::unsatisfiable)
        fatal("no failed assumptions: the last solve was not unsatisfiable\n");
    return impl_->failed;
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

int Solver::strategy() const { return impl_->strategy; }
int Solver::num_vars() const { return std::max(impl_->nb_var, impl_->state ? impl_->state->nb_var : 0); }
std::size_t Solver::num_clauses() const { return impl_->nb_clauses; }

const Statistics &Solver::statistics() const {
    return impl_->state ? impl_->state->stats : impl_->no_stats;
}

} // namespace vetrix
