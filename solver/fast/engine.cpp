// The engine's interface: DIMACS literals in and out, the calls between
// solves, callbacks and the proof.
#include <cstdlib>
#include <cstring>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

Engine::Engine() : in_(new Internal) {}
Engine::~Engine() = default;

void Engine::reserve(int n) { in_->grow_vars(n); }
int Engine::variables() const { return in_->nvars; }

void Engine::reserve_clauses(int64_t clauses, int64_t literals) {
    if (clauses > 0 && literals >= 0)
        in_->reserve_clauses(static_cast<size_t>(clauses), static_cast<size_t>(literals));
}

void Engine::add(int lit) {
    Internal &s = *in_;
    if (lit != 0) {
        s.grow_vars(std::abs(lit));
        s.adding.push_back(lit);
        return;
    }
    if (s.uses_eliminated(s.adding.data(), s.adding.size()))
        s.restore_eliminated();
    s.add_original(s.adding);
    s.adding.clear();
}

void Engine::assume(int lit) {
    in_->grow_vars(std::abs(lit));
    if (in_->uses_eliminated(&lit, 1))
        in_->restore_eliminated();
    in_->assumptions.push_back(lit_of(lit));
}

bool Engine::propagate(const int *lits, size_t size, std::vector<int> &set) {
    Internal &s = *in_;
    std::vector<Lit> codes;
    for (size_t k = 0; k < size; ++k) {
        s.grow_vars(std::abs(lits[k]));
        codes.push_back(lit_of(lits[k]));
    }
    if (s.uses_eliminated(lits, size))
        s.restore_eliminated();
    std::vector<Lit> set_codes;
    const bool consistent = s.propagate_assumptions(codes, set_codes);
    set.clear();
    for (Lit lit : set_codes)
        set.push_back(dimacs_of(lit));
    return consistent;
}

int Engine::solve(const Limits &limits) {
    in_->limits = limits;
    return in_->solve();
}

int Engine::value(int lit) const {
    const size_t v = static_cast<size_t>(std::abs(lit) - 1);
    const bool truth = v < in_->model.size() && in_->model[v];
    return (truth == (lit > 0)) ? lit : -lit;
}

bool Engine::failed(int lit) const {
    const size_t code = static_cast<size_t>(lit_of(lit));
    return code < in_->failed.size() && in_->failed[code];
}

void Engine::set_terminate(std::function<bool()> terminate) { in_->terminate = std::move(terminate); }

void Engine::set_learn(int max_size, std::function<void(const int *, int)> learn) {
    in_->learn_max = max_size;
    in_->learn = std::move(learn);
}

void Engine::set_progress(int64_t period, std::function<void(const Progress &)> progress) {
    in_->progress_period = period > 0 ? period : 1;
    in_->progress = std::move(progress);
}

bool Engine::set_option(const char *name, int value) {
    static const struct {
        const char *name;
        bool Internal::*flag;
    } switches[] = {{"eliminate", &Internal::eliminate_enabled}, {"probe", &Internal::probe_enabled},
                    {"subsume", &Internal::subsume_enabled},     {"vivify", &Internal::vivify_enabled},
                    {"minimize", &Internal::minimize_enabled}, {"stable", &Internal::stable_enabled},
                    {"rephase", &Internal::rephase_enabled}, {"queue", &Internal::queue_enabled}};
    if (value != 0 && value != 1)
        return false;
    for (const auto &s : switches)
        if (std::strcmp(s.name, name) == 0) {
            in_.get()->*s.flag = value == 1;
            return true;
        }
    return false;
}

void Engine::set_proof(std::ostream &out, bool binary, bool lrat, int64_t input_ids) {
    Internal &s = *in_;
    s.proof = make_proof_writer(out, binary, lrat);
    s.lrat = lrat;
    s.next_id = input_ids + 1;
    s.unit_ids.assign(static_cast<size_t>(s.nvars), 0);
    s.hint_met.assign(static_cast<size_t>(s.nvars), 0);
}

void Engine::set_clause_id(int64_t id) { in_->next_input = id; }

void Engine::flush_proof() {
    if (in_->proof)
        in_->proof->flush();
}

const Stats &Engine::stats() const { return in_->stats; }

Progress Engine::progress() const { return in_->snapshot(); }

} // namespace fast
} // namespace vetrix
