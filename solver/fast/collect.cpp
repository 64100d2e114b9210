// The arena's compacting collector: the clauses left are copied in order
// into a fresh arena, and every offset (watches, reasons, clause lists)
// follows its clause through the forwarding offset left in the old copy.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

// Copies the live clauses of list to fresh, leaving a forwarding offset in
// each old copy; the garbage drops out of the list.
void move_clauses(Internal &s, std::vector<Ref> &list, std::vector<uint32_t> &fresh) {
    size_t kept = 0;
    for (Ref ref : list) {
        Clause &c = s.at(ref);
        if (c.garbage)
            continue;
        const size_t before = s.lrat ? ID_WORDS : 0; // the clause ID
        const Ref to = static_cast<Ref>(fresh.size() + before);
        const uint32_t *from = &s.arena[ref];
        fresh.insert(fresh.end(), from - before, from + HEADER_WORDS + c.size);
        c.moved = 1;
        c.size = to;
        list[kept++] = to;
    }
    list.resize(kept);
}

} // namespace

void Internal::collect() {
    ++stats.collections;
    std::vector<uint32_t> fresh;
    fresh.reserve(arena.size());
    move_clauses(*this, irredundant, fresh);
    move_clauses(*this, redundant, fresh);
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
    arena.swap(fresh);
}

} // namespace fast
} // namespace vetrix
