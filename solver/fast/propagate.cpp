// Unit propagation over two watched literals with blocking literals, binary
// clauses inline in the watch lists, and backtracking.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

// Propagates every trail literal after qhead. Returns false on a conflict,
// with the falsified clause in conflict (and conflict_binary for a binary
// one). The watches of the falsified literal are compacted in place: j
// trails i, and a watch moved to another literal is not copied back.
bool Internal::propagate() {
    int8_t *const values = vals.data();
    uint32_t *const words = arena.data();
    int64_t visits = 0;
    const size_t start = qhead;
    conflict = NO_REASON;
    while (qhead < trail.size() && conflict == NO_REASON) {
        const Lit falsified = trail[qhead++] ^ 1;
        std::vector<Watch> &list = watches[static_cast<size_t>(falsified)];
        Watch *i = list.data(), *j = i, *const end = i + list.size();
        visits += end - i;
        while (i != end) {
            const Watch w = *i++;
            const int8_t blocker_value = values[w.blocker];
            if (blocker_value > 0) {
                *j++ = w;
                continue;
            }
            if (w.ref == BINARY_WATCH) {
                *j++ = w;
                if (blocker_value < 0) {
                    conflict = binary_reason(falsified);
                    conflict_binary[0] = falsified;
                    conflict_binary[1] = w.blocker;
                    break;
                }
                assign(w.blocker, binary_reason(falsified));
                continue;
            }
            Clause &c = *reinterpret_cast<Clause *>(words + w.ref);
            Lit *lits = c.lits();
            // The falsified literal goes second, so that the first is the
            // one implied if no other watch is found.
            if (lits[0] == falsified) {
                lits[0] = lits[1];
                lits[1] = falsified;
            }
            const Lit first = lits[0];
            const int8_t first_value = values[first];
            if (first != w.blocker && first_value > 0) {
                *j++ = {first, w.ref};
                continue;
            }
            const uint32_t size = c.size;
            uint32_t k = 2;
            while (k < size && values[lits[k]] < 0)
                ++k;
            if (k < size) {
                const Lit other = lits[k];
                lits[1] = other;
                lits[k] = falsified;
                watches[static_cast<size_t>(other)].push_back({first, w.ref});
                continue;
            }
            *j++ = {first, w.ref};
            if (first_value < 0) {
                conflict = w.ref;
                break;
            }
            assign(first, w.ref);
        }
        while (i != end)
            *j++ = *i++;
        list.resize(static_cast<size_t>(j - list.data()));
    }
    stats.propagations += static_cast<int64_t>(qhead - start);
    stats.watch_visits += visits;
    ticks += visits;
    return conflict == NO_REASON;
}

// Undoes every level above to_level; each variable keeps its value as its
// saved phase and goes back to the heap (but for the assumed ones); with the
// queue, its walk starts again at the most recent of them.
void Internal::backtrack(int to_level) {
    if (decision_level() <= to_level)
        return;
    const size_t keep = static_cast<size_t>(control[static_cast<size_t>(to_level)]);
    for (size_t i = trail.size(); i > keep; --i) {
        const Lit lit = trail[i - 1];
        const size_t v = static_cast<size_t>(var_of(lit));
        vals[static_cast<size_t>(lit)] = 0;
        vals[static_cast<size_t>(lit ^ 1)] = 0;
        saved[v] = static_cast<uint8_t>(lit & 1);
        if (heap_pos[v] < 0 && !assumed[v])
            heap_insert(static_cast<int>(v));
        if (queue_enabled)
            queue_unassigned(static_cast<int>(v));
    }
    trail.resize(keep);
    control.resize(static_cast<size_t>(to_level));
    if (qhead > keep)
        qhead = keep;
}

} // namespace fast
} // namespace vetrix
