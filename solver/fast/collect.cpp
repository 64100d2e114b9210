// The arena's compacting collector, in place: the clauses left slide down
// in the order of their offsets, so the arena is never held twice (on a
// large formula a second copy would be the largest table of the engine).
// First each clause left gets its new offset, in its size field until it
// moves (its size waits in a side table), and every offset (watches,
// reasons, clause lists) follows its clause through it; then the clauses
// move, each to an offset at most its own, its ID (with an LRAT proof) with it.
#include <algorithm>
#include <cstring>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

// The live clauses of list appended to order.
void live_clauses(const Internal &s, const std::vector<Ref> &list, std::vector<Ref> &order) {
    for (Ref ref : list)
        if (!s.at(ref).garbage)
            order.push_back(ref);
}

// Each offset of list replaced by its clause's new one; the garbage drops out.
void forward(const Internal &s, std::vector<Ref> &list) {
    size_t kept = 0;
    for (Ref ref : list)
        if (s.at(ref).moved)
            list[kept++] = s.at(ref).size;
    list.resize(kept);
}

} // namespace

void Internal::collect() {
    ++stats.collections;
    std::vector<Ref> order;
    order.reserve(irredundant.size() + redundant.size());
    live_clauses(*this, irredundant, order);
    const auto split = static_cast<std::ptrdiff_t>(order.size());
    live_clauses(*this, redundant, order);
    const auto middle = order.begin() + split;
    if (std::is_sorted(order.begin(), middle) && std::is_sorted(middle, order.end()))
        std::inplace_merge(order.begin(), middle, order.end());
    else
        std::sort(order.begin(), order.end()); // a learnt clause that joined the formula
    std::vector<uint32_t> sizes(order.size());
    const size_t before = lrat ? ID_WORDS : 0; // a clause's ID, ahead of its header
    Ref to = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        Clause &c = at(order[i]);
        sizes[i] = c.size;
        c.moved = 1;
        c.size = static_cast<Ref>(to + before);
        to += static_cast<Ref>(before + HEADER_WORDS + sizes[i]);
    }
    forward(*this, irredundant);
    forward(*this, redundant);
    for (std::vector<Watch> &list : watches) {
        size_t kept = 0;
        for (const Watch &w : list) {
            if (w.ref == BINARY_WATCH) {
                list[kept++] = w;
                continue;
            }
            const Clause &c = at(w.ref);
            if (c.moved)
                list[kept++] = {w.blocker, c.size};
        }
        list.resize(kept);
    }
    for (Lit lit : trail) {
        uint32_t &why = reason[static_cast<size_t>(var_of(lit))];
        if (why != NO_REASON && !is_binary_reason(why))
            why = at(why).size; // a reason is never garbage: reductions keep locked clauses
    }
    for (size_t i = 0; i < order.size(); ++i) {
        const Ref from = order[i], dest = at(from).size;
        std::memmove(&arena[dest - before], &arena[from - before], (before + HEADER_WORDS + sizes[i]) * sizeof(uint32_t));
        Clause &c = at(dest);
        c.size = sizes[i];
        c.moved = 0;
    }
    arena.resize(to);
}

} // namespace fast
} // namespace vetrix
