// Rank 0's cube tree: every cube is a node whose path from the root holds
// its literals; a cube that ran past its budget has two children, the cube
// with a variable and with its complement. A node is refuted when a worker
// refuted it, when a worker refuted a descendant on a core its path already
// holds, or when both its children are refuted; the formula is refuted with
// the root.
//
// Each refutation adds one clause to the proof: the negated core of a
// worker's refutation (which the worker's own proof steps, written before,
// make follow by unit propagation), and the negated path of a node refuted
// by its children (which follows by unit propagation from its children's
// clauses). The root's clause is the empty clause.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <vector>

namespace vetrix {

class CubeTree {
  public:
    using ClauseSink = std::function<void(const std::vector<int> &)>;
    // A tree of the root cube alone, queued; proof_clause (may be empty)
    // hears every clause a refutation adds.
    explicit CubeTree(ClauseSink proof_clause);

    std::vector<int> path(int node) const;
    // node is done as two halves on var, both queued.
    void split(int node, int var);
    // A worker refuted node on core (literals of its path). Appends to
    // running the nodes that workers solve and that this refutation prunes.
    void refute(int node, const std::vector<int> &core, std::vector<int> &running);
    // Within a refuted subtree: its outcome no longer matters.
    bool closed(int node) const;
    bool root_refuted() const { return nodes_[0].refuted; }

    // The next queued cube that is neither closed nor split, marked as
    // running; -1 if none.
    int take();
    // node goes back to the end of the queue.
    void requeue(int node);
    // A worker's attempt at node ended: its outcome, time and conflicts.
    void finish(int node, char outcome, double seconds, std::int64_t conflicts);
    int depth(int node) const { return nodes_[static_cast<size_t>(node)].depth; }

    // Counters for the report.
    int size() const { return static_cast<int>(nodes_.size()); }
    int refutations() const { return refutations_; }
    int splits() const { return splits_; }
    int pruned() const { return pruned_; }
    // One line per node: id parent depth outcome seconds conflicts.
    void write(std::FILE *out) const;

  private:
    struct Node {
        int parent = -1;
        int lit = 0;       // the literal this node adds to its parent's path (0 at the root)
        int depth = 0;
        int child[2] = {-1, -1};
        bool refuted = false;
        bool running = false;
        char outcome = 'q'; // q queued, r refuted, s split, m model, c cancelled or unknown
        double seconds = 0;
        std::int64_t conflicts = 0;
    };
    void mark_refuted(int node, std::vector<int> &running);

    std::vector<Node> nodes_;
    std::deque<int> queue_;
    ClauseSink proof_clause_;
    int refutations_ = 0, splits_ = 0, pruned_ = 0;
};

} // namespace vetrix
