// Decision order. A max-heap of variables keyed by (activity, index) gives
// strategy 1 the free variable with the largest activity, ties to the
// highest-numbered one, in O(log n). Set variables are removed lazily when
// they reach the top; a variable that becomes free again is re-inserted, and
// a rescale (which can turn unequal activities equal) re-heapifies.
//
// The heap holds each variable's key (activity and index in one 64-bit
// value), not the variable alone: a step down or up the heap compares keys
// that sit side by side instead of reading activities elsewhere. A key is
// refreshed whenever its variable's activity changes while it is in the heap.
// Each node has four children: half the levels of a binary heap, so a
// removal or an insertion moves an entry half as many times. Every variable
// of a descent that propagation sets and that outranks the next decision is
// removed when it reaches the top and inserted again when it is freed, so
// these two operations are most of the heap's work.
#include "solver/base_m456.h"

namespace vetrix {

namespace {

constexpr int ARITY = 4;

// A rescale divides every activity by this.
constexpr int ACTIVITY_DIVISOR = 4;

inline OrderKey order_key(const int *act, int v) {
    return static_cast<OrderKey>(act[v]) * (1LL << 32) + v;
}

inline int key_var(OrderKey key) { return static_cast<int>(key & 0xffffffffLL); }

inline int parent_of(int i) { return (i - 1) / ARITY; }
inline int first_child(int i) { return ARITY * i + 1; }

// The child of the largest key among heap[c .. end), c < end.
inline int largest_child(const OrderKey *heap, int c, int end) {
    int best = c;
    for (int k = c + 1; k < end; ++k)
        best = heap[k] > heap[best] ? k : best;
    return best;
}

// The child of the largest key among the four at c, without a branch on
// which one it is.
inline int largest_of_four(const OrderKey *heap, int c) {
    const int a = c + (heap[c + 1] > heap[c]);
    const int b = c + 2 + (heap[c + 3] > heap[c + 2]);
    return a + (b - a) * (heap[b] > heap[a]);
}

// Moves key up from slot i to its place.
void sift_up(CHpGN56 &s, int i, OrderKey key) {
    OrderKey *heap = s.heap_arr.data;
    int *pos = s.heap_pos.data;
    while (i > 0) {
        const int parent = parent_of(i);
        const OrderKey above = heap[parent];
        if (above > key)
            break;
        heap[i] = above;
        pos[key_var(above)] = i;
        i = parent;
    }
    heap[i] = key;
    pos[key_var(key)] = i;
}

void sift_down(CHpGN56 &s, int i) {
    OrderKey *heap = s.heap_arr.data;
    int *pos = s.heap_pos.data;
    const int n = s.heap_size;
    const OrderKey key = heap[i];
    for (int c = first_child(i); c < n; c = first_child(i)) {
        const int child = largest_child(heap, c, c + ARITY < n ? c + ARITY : n);
        if (heap[child] < key)
            break;
        heap[i] = heap[child];
        pos[key_var(heap[i])] = i;
        i = child;
    }
    heap[i] = key;
    pos[key_var(key)] = i;
}

// Removes the top. The hole left at the root sinks along the largest
// children to a leaf, then the last entry climbs back from there: the same
// heap as sifting the last entry down from the root, since keys are
// distinct, with fewer comparisons, for the last entry usually belongs near
// the bottom.
void pop_top(CHpGN56 &s) {
    OrderKey *heap = s.heap_arr.data;
    int *pos = s.heap_pos.data;
    pos[key_var(heap[0])] = -1;
    const int n = --s.heap_size;
    if (n == 0)
        return;
    int i = 0;
    int c = first_child(0);
    for (; c + ARITY <= n; c = first_child(i)) { // every child present
        const int child = largest_of_four(heap, c);
        heap[i] = heap[child];
        pos[key_var(heap[i])] = i;
        i = child;
    }
    if (c < n) { // the last inner node: fewer children
        const int child = largest_child(heap, c, n);
        heap[i] = heap[child];
        pos[key_var(heap[i])] = i;
        i = child;
    }
    sift_up(s, i, heap[n]);
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
        const int v = s.nb_var - 1 - k;
        s.heap_arr[k] = order_key(s.var_activity_old, v);
        s.heap_pos[v] = k;
    }
    s.heap_size = s.nb_var;
}

void order_grown(CHpGN56 &s, int old_n) {
    if (s.lowest_free > old_n)
        s.lowest_free = old_n;
    if (!s.order_heap_on)
        return;
    s.heap_arr.SetSize(s.nb_var, -1);
    s.heap_pos.SetSize(s.nb_var, -1);
    for (int v = old_n; v < s.nb_var; ++v) {
        s.heap_pos[v] = -1;
        order_insert(s, v);
    }
}

void order_bumped(CHpGN56 &s, int v) {
    if (s.order_heap_on && s.heap_pos[v] >= 0)
        sift_up(s, s.heap_pos[v], order_key(s.var_activity_old, v));
}

void order_insert(CHpGN56 &s, int v) { sift_up(s, s.heap_size++, order_key(s.var_activity_old, v)); }

void order_rescaled(CHpGN56 &s) {
    if (!s.order_heap_on)
        return;
    OrderKey *heap = s.heap_arr.data;
    for (int i = 0; i < s.heap_size; ++i)
        heap[i] = order_key(s.var_activity_old, key_var(heap[i]));
    for (int i = s.heap_size / 2 - 1; i >= 0; --i)
        sift_down(s, i);
}

int order_most_active_free(CHpGN56 &s) {
    while (s.heap_size > 0) {
        const int v = key_var(s.heap_arr[0]);
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

} // namespace vetrix
