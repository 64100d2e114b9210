// Decisions: in the stable mode by EVSIDS scores in a binary max-heap (ties
// to the lower variable, so that the order is the same on every machine), in
// the focused mode by the scores too or by the queue of 'queue.cpp'; and the
// phase of the decided variable.
#include "solver/fast/internal.h"

namespace vetrix {
namespace fast {

namespace {

constexpr double DECAY = 0.95;       // scores shrink by this per conflict (by growing the bump)
constexpr double RESCALE_AT = 1e100; // scores above it are scaled down by its inverse

} // namespace

void Internal::heap_insert(int v) {
    heap_pos[static_cast<size_t>(v)] = static_cast<int>(heap.size());
    heap.push_back(v);
    heap_up(heap.size() - 1);
}

void Internal::heap_up(size_t i) {
    const int v = heap[i];
    const double s = score[static_cast<size_t>(v)];
    while (i > 0) {
        const size_t parent = (i - 1) / 2;
        const int p = heap[parent];
        if (!(score[static_cast<size_t>(p)] < s || (score[static_cast<size_t>(p)] == s && p > v)))
            break;
        heap[i] = p;
        heap_pos[static_cast<size_t>(p)] = static_cast<int>(i);
        i = parent;
    }
    heap[i] = v;
    heap_pos[static_cast<size_t>(v)] = static_cast<int>(i);
}

void Internal::heap_down(size_t i) {
    const int v = heap[i];
    const double s = score[static_cast<size_t>(v)];
    const size_t n = heap.size();
    for (;;) {
        size_t child = 2 * i + 1;
        if (child >= n)
            break;
        if (child + 1 < n) {
            const int a = heap[child], b = heap[child + 1];
            const double sa = score[static_cast<size_t>(a)], sb = score[static_cast<size_t>(b)];
            if (sb > sa || (sb == sa && b < a))
                ++child;
        }
        const int c = heap[child];
        const double sc = score[static_cast<size_t>(c)];
        if (!(sc > s || (sc == s && c < v)))
            break;
        heap[i] = c;
        heap_pos[static_cast<size_t>(c)] = static_cast<int>(i);
        i = child;
    }
    heap[i] = v;
    heap_pos[static_cast<size_t>(v)] = static_cast<int>(i);
}

int Internal::heap_pop() {
    const int top = heap[0];
    const int last = heap.back();
    heap.pop_back();
    heap_pos[static_cast<size_t>(top)] = -1;
    if (!heap.empty()) {
        heap[0] = last;
        heap_pos[static_cast<size_t>(last)] = 0;
        heap_down(0);
    }
    return top;
}

void Internal::bump(int v) {
    double &s = score[static_cast<size_t>(v)];
    s += score_inc;
    if (s > RESCALE_AT) {
        for (double &x : score)
            x *= 1 / RESCALE_AT;
        score_inc *= 1 / RESCALE_AT;
    }
    if (heap_pos[static_cast<size_t>(v)] >= 0)
        heap_up(static_cast<size_t>(heap_pos[static_cast<size_t>(v)]));
}

void Internal::decay() { score_inc *= 1 / DECAY; }

// The next variable to decide, in its target phase in the stable mode and
// its saved phase in the focused one; NO_LIT when all are assigned. The
// scores give the most active one, the queue the most recently bumped.
Lit Internal::decide_literal() {
    if (!stable && queue_enabled) {
        const int v = queue_decide();
        return v < 0 ? NO_LIT : 2 * v + saved[static_cast<size_t>(v)];
    }
    while (!heap.empty()) {
        const int v = heap[0];
        if (val(2 * v) == 0 && !eliminated[static_cast<size_t>(v)]) {
            const size_t u = static_cast<size_t>(v);
            return 2 * v + (stable ? target[u] : saved[u]);
        }
        heap_pop();
    }
    return NO_LIT;
}

} // namespace fast
} // namespace vetrix
