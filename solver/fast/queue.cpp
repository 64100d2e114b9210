// Decisions in the focused mode: the variables in a queue ordered by when
// analysis last bumped them (move to front). Decisions walk from the most
// recently bumped unassigned variable towards older ones; every variable
// after the walk's start is assigned, so a backjump only has to move the
// start when it unassigns a more recent variable. Each step costs a
// constant where the scores' heap costs a logarithm, but on the benchmarks
// the scores' order searches better: the queue is the switch 'queue', off
// by default.
#include <algorithm>

#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

// v goes to the end of the queue (the most recent place).
void Internal::queue_enqueue(int v) {
    QueueLink &link = links[static_cast<size_t>(v)];
    link.prev = queue_last;
    link.next = -1;
    if (queue_last >= 0)
        links[static_cast<size_t>(queue_last)].next = v;
    else
        queue_first = v;
    queue_last = v;
    enqueued[static_cast<size_t>(v)] = ++queue_time;
    if (val(2 * v) == 0)
        queue_unassigned(v);
}

// v leaves the queue; when the walk started at v it starts at the older
// neighbour, since every variable after v is assigned.
void Internal::queue_dequeue(int v) {
    const QueueLink link = links[static_cast<size_t>(v)];
    if (link.prev >= 0)
        links[static_cast<size_t>(link.prev)].next = link.next;
    else
        queue_first = link.next;
    if (link.next >= 0)
        links[static_cast<size_t>(link.next)].prev = link.prev;
    else
        queue_last = link.prev;
    if (queue_search == v)
        queue_search = link.prev;
}

void Internal::queue_unassigned(int v) {
    if (queue_search < 0 || enqueued[static_cast<size_t>(v)] > enqueued[static_cast<size_t>(queue_search)])
        queue_search = v;
}

// The variables analysis met move to the end, in the order they had, so
// that those bumped together keep their relative order.
void Internal::queue_bump() {
    std::sort(bumped.begin(), bumped.end(),
              [this](int a, int b) { return enqueued[static_cast<size_t>(a)] < enqueued[static_cast<size_t>(b)]; });
    for (int v : bumped)
        if (v != queue_last) {
            queue_dequeue(v);
            queue_enqueue(v);
        }
}

// The most recently bumped unassigned variable, -1 when all are assigned.
int Internal::queue_decide() {
    int v = queue_search;
    while (v >= 0 && val(2 * v) != 0)
        v = links[static_cast<size_t>(v)].prev;
    queue_search = v;
    return v;
}

} // namespace fast
} // namespace vetrix
