// Decision order. A max-heap of variables keyed by (activity, index) gives
// strategy 1 the free variable with the largest activity, ties to the
// highest-numbered one, in O(log n). Set variables are removed lazily when
// they reach the top; a variable that becomes free again is re-inserted, and
// a rescale (which can turn unequal activities equal) re-heapifies.
#include "solver/base_m456.h"

namespace {

// A rescale divides every activity by this.
constexpr int ACTIVITY_DIVISOR = 4;

// The order as one comparison of (activity, index) pairs packed in 64 bits,
// which compiles without a branch on the tie.
inline long long order_key(const int *act, int v) {
    return static_cast<long long>(act[v]) * (1LL << 32) + v;
}

inline bool before(const int *act, int a, int b) { return order_key(act, a) > order_key(act, b); }

void sift_up(CHpGN56 &s, int i) {
    int *heap = s.heap_arr.data;
    int *pos = s.heap_pos.data;
    const int *act = s.var_activity_old;
    const int v = heap[i];
    while (i > 0) {
        const int parent = (i - 1) >> 1;
        if (!before(act, v, heap[parent]))
            break;
        heap[i] = heap[parent];
        pos[heap[i]] = i;
        i = parent;
    }
    heap[i] = v;
    pos[v] = i;
}

void sift_down(CHpGN56 &s, int i) {
    int *heap = s.heap_arr.data;
    int *pos = s.heap_pos.data;
    const int *act = s.var_activity_old;
    const int n = s.heap_size;
    const int v = heap[i];
    for (;;) {
        int child = 2 * i + 1;
        if (child >= n)
            break;
        if (child + 1 < n && before(act, heap[child + 1], heap[child]))
            ++child;
        if (!before(act, heap[child], v))
            break;
        heap[i] = heap[child];
        pos[heap[i]] = i;
        i = child;
    }
    heap[i] = v;
    pos[v] = i;
}

// Removes the top. The hole left at the root sinks along the larger
// children to a leaf (one comparison per level), then the last entry climbs
// back from there: the same heap as sifting the last entry down from the
// root, since the order of variables is strict and total, with fewer
// comparisons, for the last entry usually belongs near the bottom.
void pop_top(CHpGN56 &s) {
    int *heap = s.heap_arr.data;
    int *pos = s.heap_pos.data;
    const int *act = s.var_activity_old;
    pos[heap[0]] = -1;
    const int n = --s.heap_size;
    if (n == 0)
        return;
    int i = 0;
    for (int child = 1; child < n; child = 2 * i + 1) {
        child += child + 1 < n && before(act, heap[child + 1], heap[child]);
        heap[i] = heap[child];
        pos[heap[i]] = i;
        i = child;
    }
    heap[i] = heap[n];
    sift_up(s, i);
}

} // namespace

void order_init(CHpGN56 &s) {
    s.order_heap_on = s.strategy != 2;
    s.lowest_free = 0;
    s.heap_size = 0;
    if (!s.order_heap_on)
        return;
    s.heap_arr.SetSize(s.nb_var, -1);
    s.heap_pos.SetSize(s.nb_var, -1);
    // Equal activities: the highest-numbered variable comes first, so the
    // descending sequence is already a heap.
    for (int k = 0; k < s.nb_var; ++k) {
        s.heap_arr[k] = s.nb_var - 1 - k;
        s.heap_pos[s.nb_var - 1 - k] = k;
    }
    s.heap_size = s.nb_var;
}

void order_bumped(CHpGN56 &s, int v) {
    if (s.order_heap_on && s.heap_pos[v] >= 0)
        sift_up(s, s.heap_pos[v]);
}

void order_insert(CHpGN56 &s, int v) {
    s.heap_arr[s.heap_size] = v;
    s.heap_pos[v] = s.heap_size;
    sift_up(s, s.heap_size++);
}

void order_rescaled(CHpGN56 &s) {
    if (!s.order_heap_on)
        return;
    for (int i = s.heap_size / 2 - 1; i >= 0; --i)
        sift_down(s, i);
}

int order_most_active_free(CHpGN56 &s) {
    while (s.heap_size > 0) {
        const int v = s.heap_arr[0];
        if (var_free(s.lit_ind, v))
            return v;
        pop_top(s);
    }
    return NONE;
}

// Activities are divided by ACTIVITY_DIVISOR once the largest passes
// activity_limit, so that recent conflicts weigh more than old ones; the heap
// is rebuilt because the division can make unequal activities equal.
void resert_var_activityB456(CHpGN56 &s) {
    for (int v = 0; v < s.nb_var; ++v)
        s.var_activity_old[v] /= ACTIVITY_DIVISOR;
    s.max_activity /= ACTIVITY_DIVISOR;
    order_rescaled(s);
}
