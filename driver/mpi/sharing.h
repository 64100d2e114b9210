// Clause sharing. A worker keeps the short clauses its search learns and
// sends them with its cube's outcome; rank 0 keeps one pool of them, each
// once, and hands every worker the clauses others found since its last cube.
// Learnt clauses follow from the formula alone (the cube's literals are
// assumptions, decided like any decision), so every worker may add them.
#pragma once

#include <cstddef>
#include <set>
#include <vector>

#include "driver/mpi/wire.h"

namespace vetrix {

// Rank 0's pool.
class ClausePool {
  public:
    explicit ClausePool(int ranks) : cursor_(static_cast<std::size_t>(ranks), 0) {}
    // Takes the clauses a packet holds (as packed by pack_clauses) from
    // source; returns those the pool did not hold yet.
    std::vector<std::vector<int>> add_from(int source, Packet &packet);
    // Packs the clauses worker has not seen and did not send; returns them.
    std::vector<std::vector<int>> pack_for(int worker, Packet &packet);
    std::size_t size() const { return clauses_.size(); }

  private:
    std::vector<std::vector<int>> clauses_; // in arrival order
    std::vector<int> source_;               // per clause: the worker that learnt it
    std::set<std::vector<int>> known_;      // the clauses, literals sorted
    std::vector<std::size_t> cursor_;       // per rank: clauses already handed to it
};

// Clauses as one flat list: each clause's length, then its literals.
void pack_clauses(const std::vector<std::vector<int>> &clauses, Packet &packet);
std::vector<std::vector<int>> unpack_clauses(Packet &packet);

} // namespace vetrix
