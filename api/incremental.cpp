#include "api/incremental.h"

#include <algorithm>
#include <climits>
#include <string>

#include "api/formula.h"
#include "api/run.h"
#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

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

// The state between calls: at the root, no assumptions, no caller's control.
void end_call(CHpGN56 &s) {
    s.control = nullptr;
    s.warm = false;
    s.assumed = nullptr;
    s.nb_assumed = 0;
}

} // namespace

Incremental::Incremental(int strategy) : strategy_(strategy), pending_(std::make_unique<Formula>()) {
    check_strategy(strategy);
}

Incremental::~Incremental() = default;

// A builder's literal marks are sized by its variable count: it is made
// anew, for at least twice as many variables, when a clause names more.
void Incremental::builder_for(int vars) {
    if (builder_ && vars <= builder_vars_)
        return;
    builder_vars_ = std::max(vars, std::min(2 * builder_vars_, max_vars()));
    builder_ = std::make_unique<ClauseBuilder>(*pending_, builder_vars_, 0);
}

void Incremental::add_clause(const int *lits, std::size_t size) {
    const std::size_t number = nb_clauses_ + 1;
    int vars = nb_var_;
    for (std::size_t k = 0; k < size; ++k) {
        if (beyond_tables(lits[k]))
            fatal("literal " + std::to_string(lits[k]) + " out of range in clause " + std::to_string(number) +
                  "\n");
        vars = std::max(vars, variable_of(lits[k]));
    }
    builder_for(vars);
    vetrix::add_clause(*builder_, lits, size);
    nb_var_ = vars;
    nb_clauses_ = number;
}

void Incremental::declare_vars(int num_vars) {
    if (num_vars < 0 || num_vars > max_vars())
        fatal("wrong array size\n");
    nb_var_ = std::max(nb_var_, num_vars);
}

void Incremental::assume(int lit) {
    if (beyond_tables(lit))
        fatal("assumption " + std::to_string(lit) + " out of range\n");
    assumptions_.push_back(lit);
}

// Brings the clauses added since the last call into the state, building it
// at the first call exactly as a one-shot solve builds its own; false when
// they refute the formula on their own.
bool Incremental::load_pending(int vars, const SolveControl &control) {
    Formula &f = *pending_;
    bool consistent = !f.has_empty_clause() && !f.has_complementary_units();
    if (consistent && !state_) {
        state_ = std::make_unique<CHpGN56>(f, nb_var_, strategy_);
        load_cube_base(f, *state_); // consumes f
        make_growable(*state_);
    } else if (consistent && f.clause_count() > 0) {
        if (vars > state_->nb_var)
            grow_variables(*state_, vars);
        state_->control = &control; // the proof hears of shortened clauses
        consistent = add_input_cubes(*state_, f);
        state_->control = nullptr;
    }
    if (consistent && vars > state_->nb_var)
        grow_variables(*state_, vars);
    f.rewind(); // the builder goes on filling its storage
    return consistent;
}

Verdict Incremental::answer(const std::vector<int> &assumed) {
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

Verdict Incremental::solve(const SolveControl &control) {
    std::vector<int> assumed;
    assumed.swap(assumptions_); // the assumptions hold for this call only
    model_.clear();
    failed_.clear();
    int vars = nb_var_;
    for (int lit : assumed)
        vars = std::max(vars, variable_of(lit));
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
    s.warm = warm_;
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

int Incremental::num_vars() const { return std::max(nb_var_, state_ ? state_->nb_var : 0); }

const Statistics &Incremental::stats() const { return state_ ? state_->stats : no_stats_; }

} // namespace vetrix
