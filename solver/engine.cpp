#include "solver/engine.h"

#include <algorithm>
#include <climits>
#include <string>
#include <tuple>

#include "solver/base_m456.h"
#include "solver/fast_lane.h"
#include "solver/unit_propagation.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

// The largest counts whose tables still have int sizes: 2n + QUEUE_EXTRA
// queue entries, m + ARENA_EXTRA tail-store codes.
constexpr int MAX_VARS = (INT_MAX - QUEUE_EXTRA) / 2 - 2;
constexpr std::size_t MAX_CLAUSES = INT_MAX - ARENA_EXTRA;

int variable_of(int lit) { return lit < 0 ? -lit : lit; }

bool beyond_tables(int lit) { return lit == 0 || lit == INT_MIN || variable_of(lit) > max_vars(); }

// The codes that make the assumptions true: an assumption holds when the
// code of its complement is set, for that code's input literal is then false.
std::vector<int> codes_of(const std::vector<int> &assumptions) {
    std::vector<int> codes;
    codes.reserve(assumptions.size());
    for (int lit : assumptions)
        codes.push_back(dimacs_to_code(variable_of(lit), lit > 0));
    return codes;
}

} // namespace

void check_strategy(int n, int last) {
    if (n < 0 || n > last)
        fatal("wrong strategy " + std::to_string(n) + "\n");
}

void check_counts(int nb_var, std::size_t nb_clause) {
    if (nb_var < 0 || nb_var > MAX_VARS || nb_clause > MAX_CLAUSES)
        fatal("wrong array size\n");
}

int max_vars() { return MAX_VARS; }

namespace {

// Every clause the state holds into propagation: each cube as the clause it
// refutes, each code set (at the root, between calls) as the unit clause of
// the literal it makes true.
void copy_held(const CHpGN56 &s, UnitPropagation &to) {
    std::vector<int> clause;
    for (int i = 0; i < s.nb_cub; ++i) {
        clause.clear();
        for_cube_codes(s, i, [&](int c) { clause.push_back(code_to_dimacs(c)); });
        to.add(clause);
    }
    for (int c = 0; c < s.nb_lit; ++c)
        if (is_set(s.lit_ind, c))
            to.add({-code_to_dimacs(c)});
}

// The clauses of f (codes) into propagation.
void copy_formula(const Formula &f, UnitPropagation &to) {
    std::vector<int> clause;
    for (int i = 0; i < f.clause_count(); ++i) {
        clause.clear();
        for (const int *c = f.clause_begin(i); c != f.clause_end(i); ++c)
            clause.push_back(code_to_dimacs(*c));
        to.add(clause);
    }
    if (f.has_empty_clause())
        to.add({});
}

// The state between calls: at the root, no assumptions, no caller's control.
void end_call(CHpGN56 &s) {
    s.control = nullptr;
    s.warm = false;
    s.assumed = nullptr;
    s.nb_assumed = 0;
}

} // namespace

Engine::Engine(int strategy) : strategy_(strategy), pending_(std::make_unique<Formula>()) {
    check_strategy(strategy);
    if (strategy == FAST_STRATEGY)
        fast_ = std::make_unique<FastLane>();
}

Engine::~Engine() = default;

void Engine::set_strategy(int strategy, bool clause_open) {
    check_strategy(strategy);
    if (state_ || nb_clauses_ > 0 || clause_open)
        fatal("vetrix: the strategy is chosen before the first clause\n");
    strategy_ = strategy;
    fast_.reset(strategy == FAST_STRATEGY ? new FastLane : nullptr);
}

// A builder's literal marks are sized by its variable count: it is made
// anew, for at least twice as many variables, when a clause names more.
void Engine::builder_for(int vars) {
    if (builder_ && vars <= builder_vars_)
        return;
    builder_vars_ = std::max(vars, std::min(2 * builder_vars_, max_vars()));
    builder_ = std::make_unique<ClauseBuilder>(*pending_, builder_vars_, 0);
}

void Engine::add_clause(const int *lits, std::size_t size) {
    const std::size_t number = nb_clauses_ + 1;
    int vars = nb_var_;
    for (std::size_t k = 0; k < size; ++k) {
        if (beyond_tables(lits[k]))
            fatal("literal " + std::to_string(lits[k]) + " out of range in clause " + std::to_string(number) +
                  "\n");
        vars = std::max(vars, variable_of(lits[k]));
    }
    builder_for(vars);
    add_literals(*builder_, lits, size);
    nb_var_ = vars;
    nb_clauses_ = number;
}

void Engine::declare_vars(int num_vars) {
    if (num_vars < 0 || num_vars > max_vars())
        fatal("wrong array size\n");
    nb_var_ = std::max(nb_var_, num_vars);
}

void Engine::assume(const int *lits, std::size_t size) {
    for (std::size_t k = 0; k < size; ++k)
        if (beyond_tables(lits[k]))
            fatal("assumption " + std::to_string(lits[k]) + " out of range\n");
    assumptions_.insert(assumptions_.end(), lits, lits + size);
}

// Brings the clauses added since the last call into the state, building it
// at the first call exactly as a one-shot solve builds its own; false when
// they refute the formula on their own. The batch's clause line k is input
// clause line_base + k of every clause added.
bool Engine::load_pending(int vars, const SolveControl &control) {
    Formula &f = *pending_;
    const long long line_base = static_cast<long long>(loaded_clauses_);
    loaded_clauses_ = nb_clauses_;
    bool consistent = !f.has_empty_clause() && !f.has_complementary_units();
    if (!consistent)
        refuted_by_batch(f, line_base, control);
    if (consistent && !state_) {
        state_ = std::make_unique<CHpGN56>(f, nb_var_, strategy_);
        state_->control = &control;
        proof_begin_calls(*state_, f);
        state_->control = nullptr;
        load_cube_base(f, *state_); // consumes f
        make_growable(*state_);
    } else if (consistent && f.clause_count() > 0) {
        if (vars > state_->nb_var)
            grow_variables(*state_, vars);
        state_->control = &control; // the proof hears of shortened clauses
        proof_codes_grown(*state_);
        consistent = add_input_cubes(*state_, f, line_base);
        state_->control = nullptr;
    }
    if (consistent && vars > state_->nb_var)
        grow_variables(*state_, vars);
    f.rewind(); // the builder goes on filling its storage
    return consistent;
}

// The proof's refutation by a batch that holds an empty clause or a unit
// clause whose complement was one before. When that unit came in an earlier
// call, its fact is set at the root of the state: the new unit clause has
// its code set there.
void Engine::refuted_by_batch(const Formula &f, long long line_base, const SolveControl &control) {
    if (!state_ || f.has_empty_clause() || f.clause_line(0) != 0)
        return proof_refuted_at_once(&control, f, line_base);
    state_->control = &control;
    proof_codes_grown(*state_);
    proof_unit_pair_refutes(*state_, *f.clause_begin(1), line_base + f.clause_line(1));
    state_->control = nullptr;
}

Verdict Engine::answer(const std::vector<int> &assumed) {
    CHpGN56 &s = *state_;
    switch (s.result) {
    case RESULT_SAT:
        return checked_model(s, model_) ? Verdict::satisfiable : Verdict::unknown;
    case RESULT_FAILED:
        for (int k : s.failed_assumed) {
            const int lit = assumed[static_cast<size_t>(k)];
            if (std::find(failed_.begin(), failed_.end(), lit) == failed_.end())
                failed_.push_back(lit);
        }
        return Verdict::unsatisfiable;
    case RESULT_UNSAT:
        refuted_ = true;
        return Verdict::unsatisfiable;
    default:
        return Verdict::unknown;
    }
}

Verdict Engine::solve(const SolveControl &control) {
    std::vector<int> assumed;
    assumed.swap(assumptions_); // the assumptions hold for this call only
    model_.clear();
    failed_.clear();
    int vars = nb_var_;
    for (int lit : assumed)
        vars = std::max(vars, variable_of(lit));
    if (fast_) {
        last_ = fast_->solve(*pending_, vars, assumed, control, model_, failed_);
        pending_->rewind();
        return last_;
    }
    if (!refuted_ && !load_pending(vars, control)) {
        refuted_ = true;
        proof_finish(&control, true);
    }
    if (refuted_)
        return last_ = Verdict::unsatisfiable;
    CHpGN56 &s = *state_;
    const std::vector<int> codes = codes_of(assumed);
    s.assumed = codes.data();
    s.nb_assumed = static_cast<int>(codes.size());
    s.control = &control;
    s.warm = control.warm_start;
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
    return last_ = answer(assumed);
}

bool Engine::propagate(const int *lits, std::size_t size, const SolveControl &control, std::vector<int> &set) {
    for (std::size_t k = 0; k < size; ++k)
        if (beyond_tables(lits[k]))
            fatal("assumption " + std::to_string(lits[k]) + " out of range\n");
    const std::vector<int> assumed(lits, lits + size);
    set.clear();
    if (fast_) {
        const bool consistent = fast_->propagate(*pending_, nb_var_, assumed, control, set);
        pending_->rewind();
        return consistent;
    }
    if (refuted_)
        return false;
    UnitPropagation copy;
    if (state_)
        copy_held(*state_, copy);
    copy_formula(*pending_, copy);
    bool consistent;
    std::tie(consistent, set) = copy.propagate(assumed);
    return consistent;
}

int Engine::num_vars() const {
    return std::max(nb_var_, state_ ? state_->nb_var : fast_ ? fast_->variables() : 0);
}

const Statistics &Engine::stats() const { return fast_ ? fast_->stats() : state_ ? state_->stats : no_stats_; }

} // namespace vetrix
