#include "driver/mpi/lookahead.h"

#include <algorithm>

namespace vetrix {

namespace {

constexpr int CANDIDATES = 40; // variables tried per split: enough to find a good one, cheap on big formulas

} // namespace

Lookahead::Lookahead(const Cnf &cnf)
    : cnf_(cnf), occurs_(2 * static_cast<std::size_t>(cnf.num_vars) + 2),
      value_(2 * static_cast<std::size_t>(cnf.num_vars) + 2, 0) {
    for (std::size_t i = 0; i < cnf.clauses.size(); ++i)
        for (int lit : cnf.clauses[i])
            occurs_[index(lit)].push_back(static_cast<int>(i));
    for (int v = 1; v <= cnf.num_vars; ++v)
        by_occurrence_.push_back(v);
    auto count = [&](int v) { return occurs_[index(v)].size() + occurs_[index(-v)].size(); };
    // Stable: ties keep the lower variable first, so the split is the same every run.
    std::stable_sort(by_occurrence_.begin(), by_occurrence_.end(),
                     [&](int a, int b) { return count(a) > count(b); });
}

bool Lookahead::assign(int lit) {
    if (is_true(lit))
        return true;
    if (is_false(lit))
        return false;
    const std::size_t from = trail_.size();
    value_[index(lit)] = 1;
    trail_.push_back(lit);
    return propagate(from);
}

// Every clause holding the complement of a literal set from `from` on is
// looked at whole: a falsified one is a conflict, a unit one sets its free
// literal.
bool Lookahead::propagate(std::size_t from) {
    for (std::size_t t = from; t < trail_.size(); ++t) {
        for (int ci : occurs_[index(-trail_[t])]) {
            int free_lit = 0, free_count = 0;
            bool satisfied = false;
            for (int lit : cnf_.clauses[static_cast<std::size_t>(ci)]) {
                if (is_true(lit)) {
                    satisfied = true;
                    break;
                }
                if (!is_false(lit)) {
                    free_lit = lit;
                    ++free_count;
                }
            }
            if (satisfied || free_count > 1)
                continue;
            if (free_count == 0)
                return false;
            value_[index(free_lit)] = 1;
            trail_.push_back(free_lit);
        }
    }
    return true;
}

void Lookahead::undo(std::size_t to) {
    while (trail_.size() > to) {
        value_[index(trail_.back())] = 0;
        trail_.pop_back();
    }
}

int Lookahead::best_variable(const std::vector<int> &cube) {
    bool consistent = true;
    for (std::size_t k = 0; k < cnf_.clauses.size() && consistent; ++k)
        if (cnf_.clauses[k].size() == 1)
            consistent = assign(cnf_.clauses[k][0]);
    for (std::size_t k = 0; k < cube.size() && consistent; ++k)
        consistent = assign(cube[k]);
    int best = 0, tried = 0;
    double best_score = -1;
    for (std::size_t k = 0; k < by_occurrence_.size() && consistent && tried < CANDIDATES; ++k) {
        const int v = by_occurrence_[k];
        if (is_true(v) || is_false(v))
            continue;
        ++tried;
        const std::size_t base = trail_.size();
        const bool pos = assign(v);
        const double fixed_pos = static_cast<double>(trail_.size() - base);
        undo(base);
        const bool neg = assign(-v);
        const double fixed_neg = static_cast<double>(trail_.size() - base);
        undo(base);
        if (!pos || !neg) {
            best = v; // one half is refuted by propagation alone
            break;
        }
        const double score = fixed_pos * fixed_neg + fixed_pos + fixed_neg;
        if (score > best_score) {
            best_score = score;
            best = v;
        }
    }
    undo(0);
    return consistent ? best : 0;
}

} // namespace vetrix
