#include "solver/unit_propagation.h"

#include <algorithm>
#include <cstdlib>

namespace vetrix {

void UnitPropagation::add(const std::vector<int> &clause) {
    std::vector<int> lits(clause);
    std::sort(lits.begin(), lits.end(), [](int a, int b) { return std::abs(a) != std::abs(b) ? std::abs(a) < std::abs(b) : a < b; });
    lits.erase(std::unique(lits.begin(), lits.end()), lits.end());
    for (std::size_t k = 1; k < lits.size(); ++k)
        if (lits[k] == -lits[k - 1])
            return; // always true
    if (lits.empty()) {
        refuted_ = true;
        return;
    }
    lits_.insert(lits_.end(), lits.begin(), lits.end());
    starts_.push_back(lits_.size());
}

int UnitPropagation::value(int lit) const { return lit > 0 ? values_[std::size_t(lit)] : -values_[std::size_t(-lit)]; }

void UnitPropagation::grow(int lit) {
    const std::size_t var = std::size_t(std::abs(lit));
    if (var < values_.size())
        return;
    values_.resize(var + 1, 0);
    watches_.resize(2 * var + 2);
}

void UnitPropagation::assign(int lit) {
    values_[std::size_t(std::abs(lit))] = lit > 0 ? 1 : -1;
    trail_.push_back(lit);
}

// Called at the root only: a clause with a literal true there is satisfied
// for good and never watched; one with a single literal not false makes it
// a fact; otherwise two literals not false are watched (a false watched
// literal would break the watches' promise).
void UnitPropagation::attach(std::uint32_t clause) {
    int *lits = &lits_[starts_[clause]];
    const std::size_t size = starts_[clause + 1] - starts_[clause];
    std::size_t free = 0;
    for (std::size_t k = 0; k < size; ++k) {
        grow(lits[k]);
        const int v = value(lits[k]);
        if (v > 0)
            return;
        if (v == 0 && free < 2)
            std::swap(lits[free++], lits[k]);
    }
    if (free == 0) {
        refuted_ = true;
    } else if (free == 1) {
        assign(lits[0]);
    } else {
        watches_[code(lits[0])].push_back(clause);
        watches_[code(lits[1])].push_back(clause);
    }
}

// MiniSat's loop: each clause watching a literal made false finds another
// literal not false to watch, or is unit (its other watched literal is set)
// or in conflict.
bool UnitPropagation::propagate_queue() {
    while (head_ < trail_.size()) {
        const int falsified = -trail_[head_++];
        std::vector<std::uint32_t> &watching = watches_[code(falsified)];
        std::size_t kept = 0;
        for (std::size_t next = 0; next < watching.size();) {
            const std::uint32_t clause = watching[next++];
            int *lits = &lits_[starts_[clause]];
            const std::size_t size = starts_[clause + 1] - starts_[clause];
            if (lits[0] == falsified)
                std::swap(lits[0], lits[1]);
            if (value(lits[0]) > 0) {
                watching[kept++] = clause;
                continue;
            }
            std::size_t k = 2;
            while (k < size && value(lits[k]) < 0)
                ++k;
            if (k < size) {
                std::swap(lits[1], lits[k]);
                watches_[code(lits[1])].push_back(clause);
                continue;
            }
            watching[kept++] = clause;
            if (value(lits[0]) < 0) {
                while (next < watching.size())
                    watching[kept++] = watching[next++];
                watching.resize(kept);
                return false;
            }
            assign(lits[0]);
        }
        watching.resize(kept);
    }
    return true;
}

std::pair<bool, std::vector<int>> UnitPropagation::propagate(const std::vector<int> &assumptions) {
    const std::uint32_t clauses = std::uint32_t(starts_.size() - 1);
    while (!refuted_ && attached_ < clauses)
        attach(attached_++);
    if (refuted_ || !propagate_queue()) {
        refuted_ = true;
        return {false, {}};
    }
    const std::size_t root = trail_.size();
    bool consistent = true;
    for (const int lit : assumptions) {
        grow(lit);
        const int v = value(lit);
        if (v > 0)
            continue;
        if (v < 0 || (assign(lit), !propagate_queue())) {
            consistent = false;
            break;
        }
    }
    std::vector<int> set(trail_.begin() + std::ptrdiff_t(root), trail_.end());
    for (const int lit : set)
        values_[std::size_t(std::abs(lit))] = 0;
    trail_.resize(root);
    head_ = root;
    return {consistent, std::move(set)};
}

} // namespace vetrix
