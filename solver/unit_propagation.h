// Unit propagation over a copy of clauses, for the propagate of the exact
// strategies (Engine::propagate): their own propagation learns from a
// conflict and moves its watches, which would change what the next call
// finds, so propagate reads the state's cubes, root facts and clauses not
// yet loaded into a copy of its own and leaves the state as it was. Two
// watched literals per clause, as MiniSat propagates; the clauses are kept
// flat and watched from the first propagate on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace vetrix {

class UnitPropagation {
  public:
    // A clause of DIMACS literals (none 0), read as the solver reads it: a
    // repeated literal counts once, a clause holding a literal and its
    // complement is dropped, an empty clause refutes the clauses.
    void add(const std::vector<int> &clause);

    // Sets the clauses' facts at the root (the literals that unit clauses
    // imply), then each assumption in turn (one already true is skipped, one
    // false ends the propagation), propagating after each. Returns false on
    // a conflict (the facts' own included), with the literals set after the
    // root in the order they were set, up to the conflict; the root stays as
    // it was.
    std::pair<bool, std::vector<int>> propagate(const std::vector<int> &assumptions);

  private:
    static std::size_t code(int lit) { return lit > 0 ? 2 * std::size_t(lit) : 2 * std::size_t(-lit) + 1; }
    int value(int lit) const; // 1 true, -1 false, 0 free
    void grow(int lit);
    void assign(int lit);
    void attach(std::uint32_t clause);
    bool propagate_queue(); // false on a conflict

    std::vector<int> lits_;                            // every clause's literals, one after another
    std::vector<std::size_t> starts_{0};               // per clause [0, clauses]: where its literals start
    std::uint32_t attached_ = 0;                       // clauses [0, attached_) are watched or satisfied
    std::vector<std::int8_t> values_{0};               // per variable [1, max]: 1 true, -1 false, 0 free
    std::vector<std::vector<std::uint32_t>> watches_{2, std::vector<std::uint32_t>()}; // per code: clauses watching it
    std::vector<int> trail_;                           // literals set, the root's first
    std::size_t head_ = 0;                             // trail_[head_..] not yet propagated
    bool refuted_ = false;                             // the clauses alone conflict
};

} // namespace vetrix
