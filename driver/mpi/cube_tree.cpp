#include "driver/mpi/cube_tree.h"

#include <algorithm>

namespace vetrix {

CubeTree::CubeTree(ClauseSink proof_clause) : nodes_(1), proof_clause_(std::move(proof_clause)) {
    queue_.push_back(0);
}

std::vector<int> CubeTree::path(int node) const {
    std::vector<int> lits;
    for (int n = node; n > 0; n = nodes_[static_cast<size_t>(n)].parent)
        lits.push_back(nodes_[static_cast<size_t>(n)].lit);
    std::reverse(lits.begin(), lits.end());
    return lits;
}

void CubeTree::split(int node, int var) {
    for (int side = 0; side < 2; ++side) {
        Node child;
        child.parent = node;
        child.lit = side == 0 ? var : -var;
        child.depth = nodes_[static_cast<size_t>(node)].depth + 1;
        nodes_[static_cast<size_t>(node)].child[side] = static_cast<int>(nodes_.size());
        queue_.push_back(static_cast<int>(nodes_.size()));
        nodes_.push_back(child);
    }
    ++splits_;
}

bool CubeTree::closed(int node) const {
    for (int n = node; n >= 0; n = nodes_[static_cast<size_t>(n)].parent)
        if (nodes_[static_cast<size_t>(n)].refuted)
            return true;
    return false;
}

// Marks node refuted and collects the running cubes below it.
void CubeTree::mark_refuted(int node, std::vector<int> &running) {
    nodes_[static_cast<size_t>(node)].refuted = true;
    std::vector<int> stack{node};
    while (!stack.empty()) {
        const Node &n = nodes_[static_cast<size_t>(stack.back())];
        if (n.running && stack.back() != node) {
            running.push_back(stack.back());
            ++pruned_;
        }
        stack.pop_back();
        for (int c : n.child)
            if (c >= 0)
                stack.push_back(c);
    }
}

void CubeTree::refute(int node, const std::vector<int> &core, std::vector<int> &running) {
    if (closed(node))
        return;
    ++refutations_;
    std::vector<int> clause;
    for (int lit : core)
        clause.push_back(-lit);
    if (proof_clause_)
        proof_clause_(clause);
    // The shallowest node whose path holds the core: the first ancestor
    // (from node up) whose own literal is in the core.
    int target = node;
    while (target > 0 &&
           std::find(core.begin(), core.end(), nodes_[static_cast<size_t>(target)].lit) == core.end())
        target = nodes_[static_cast<size_t>(target)].parent;
    if (target != node)
        ++pruned_;
    mark_refuted(target, running);
    for (int p = nodes_[static_cast<size_t>(target)].parent; p >= 0; p = nodes_[static_cast<size_t>(p)].parent) {
        const Node &n = nodes_[static_cast<size_t>(p)];
        if (!nodes_[static_cast<size_t>(n.child[0])].refuted || !nodes_[static_cast<size_t>(n.child[1])].refuted)
            break;
        nodes_[static_cast<size_t>(p)].refuted = true;
        if (proof_clause_) {
            std::vector<int> negated = path(p);
            for (int &lit : negated)
                lit = -lit;
            proof_clause_(negated);
        }
    }
}

int CubeTree::take() {
    while (!queue_.empty()) {
        const int node = queue_.front();
        queue_.pop_front();
        if (closed(node) || nodes_[static_cast<size_t>(node)].child[0] >= 0)
            continue; // pruned, or split before a worker had it
        nodes_[static_cast<size_t>(node)].running = true;
        return node;
    }
    return -1;
}

void CubeTree::requeue(int node) {
    nodes_[static_cast<size_t>(node)].running = false;
    queue_.push_back(node);
}

void CubeTree::finish(int node, char outcome, double seconds, std::int64_t conflicts) {
    Node &n = nodes_[static_cast<size_t>(node)];
    n.running = false;
    n.outcome = outcome;
    n.seconds = seconds;
    n.conflicts = conflicts;
}

void CubeTree::write(std::FILE *out) const {
    std::fprintf(out, "id parent depth outcome seconds conflicts\n");
    for (size_t i = 0; i < nodes_.size(); ++i) {
        const Node &n = nodes_[i];
        std::fprintf(out, "%zu %d %d %c %.6f %lld\n", i, n.parent, n.depth, n.outcome, n.seconds,
                     static_cast<long long>(n.conflicts));
    }
}

} // namespace vetrix
