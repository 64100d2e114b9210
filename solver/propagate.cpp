// Setting codes and propagating them through the watch lists.
//
// Propagation is breadth-first: a cube that becomes unit is appended to the
// queue in watch-list order and forces its code when the queue walk reaches
// it. An all-set cube stops everything at once and is analysed while the
// assignment is intact.
#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

const char QUEUE_FULL[] = "\n please, stop and increase max_size_queu";

// The queue's first room.
constexpr int QUEUE_START = 1024;

// Makes room for queue entry at. The room grows with the queue's use, not
// with its capacity, so entries never reached cost no resident memory.
void grow_queue(CHpGN56 &s, int at) {
    int size = 2 * s.queu_arr.size;
    if (size < QUEUE_START)
        size = QUEUE_START;
    if (size <= at)
        size = at + 1;
    s.queu_arr.SetSize(size, -1);
}

// Appends cube, unit and forcing code, to the queue. The watch list that
// code will walk (when the cube still forces it then) is asked for now, so
// that it is on its way while the queue's earlier entries are handled.
inline void enqueue(CHpGN56 &s, int cube, int code) {
    const int at = s.top_queu_pnt;
    if (at > s.limit_queu_pnt) // never write past the queue
        AfxMessageBox(QUEUE_FULL);
    if (at >= s.queu_arr.size)
        grow_queue(s, at);
    __builtin_prefetch(&s.guard_list.data[code]);
    s.queu_arr.data[at] = QueueEntry{cube, code};
    ++s.top_queu_pnt;
}

// Asks for the first entries of the watch list of queue entry w's code,
// whose list header enqueue asked for.
inline void prefetch_entries(const CHpGN56 &s, int w) {
    __builtin_prefetch(s.guard_list.data[s.queu_arr.data[w].code].data);
}

// get_sublit_B456, inlined into the queue walk.
inline int force_unit(int i, int level, CHpGN56 &s) {
    const CodeState *ind = s.lit_ind;
    const CubeRecord &c = s.cubes[i];
    int d = 0;
    int r = NONE;
    int g = c.guard_0;
    if (is_free(ind, g)) {
        if (is_set(ind, lit_neg(g)))
            return NONE; // falsified meanwhile
        r = lit_neg(g);
    } else {
        d = s.lit_ul[g];
    }
    g = c.guard_1;
    if (g != NONE) {
        if (is_free(ind, g)) {
            if (is_set(ind, lit_neg(g)))
                return NONE;
            r = lit_neg(g);
        } else {
            d = s.lit_ul[g]; // the set guard's depth counts at any level
        }
    }
    const int *u = s.lit_u;
    const int *ul = s.lit_ul;
    const int *tails = s.cub_set;
    for (int k = c.tail, e = s.cubes[i + 1].tail; k < e; ++k) {
        int x = tails[k];
        if (u[x] == level && ul[x] > d)
            d = ul[x];
    }
    s.lit_u[r] = level;
    s.lit_ind[r] = DERIVED;
    s.lit_ul[r] = d + 1;
    s.lit_n[r] = i;
    return r;
}

// Forces the code of every queued cube in queue order; cubes appended during
// the walk are reached by it too.
bool walk_queue(CHpGN56 &s) {
    for (int w = 0; w < s.top_queu_pnt; ++w) {
        if (w + 1 < s.top_queu_pnt)
            prefetch_entries(s, w + 1);
        int x = force_unit(s.queu_arr.data[w].cube, s.lev, s);
        if (x == NONE)
            continue;
        if (subst_litB456(x, s))
            return true;
        if (s.top_queu_pnt >= s.limit_queu_pnt)
            AfxMessageBox(QUEUE_FULL);
    }
    return false;
}

// The guard lit of cube c becomes u. Both guards are written, each with its
// old value or u: which of them is lit is as likely one as the other, a
// branch on it would be mispredicted half the time. (Both guards equal to lit
// never reach here: such a cube is all set once lit is.)
inline void move_guard(CubeRecord &c, int lit, int u) {
    const int g0 = c.guard_0;
    const int g1 = c.guard_1;
    c.guard_0 = g0 == lit ? u : g0;
    c.guard_1 = g1 == lit ? u : g1;
}

} // namespace

bool SubstitutionB3L_B456_rs(int &lit, CHpGN56 &s) {
    ++s.stats.decisions;
    s.top_queu_pnt = 0;
    s.lit_u[lit] = s.lev;
    s.lit_ind[lit] = DECISION;
    s.lit_ul[lit] = 0;
    if (subst_litB456(lit, s))
        return true;
    return walk_queue(s);
}

bool SubstitutR456_rs(CHpGN56 &s) {
    s.top_queu_pnt = 0;
    enqueue(s, s.nb_cub - 1, lit_neg(s.guard_0[s.nb_cub - 1])); // guard_0 is its free code
    return walk_queue(s);
}

int get_sublit_B456(int i, int level, CHpGN56 &s) { return force_unit(i, level, s); }

bool subst_litB456(int lit, CHpGN56 &s) {
    ++s.stats.propagations;
    if (s.lit_u[lit] == 0)
        s.der_lit_lev_0[s.nb_der_lit_lev_0++] = lit;
    else
        s.der_lit[++s.index_der] = lit;

    IntArray &list = s.guard_list[lit];
    IntArray *const lists = s.guard_list.data;
    int *const entries = list.data; // only other lists grow during the walk
    CubeRecord *const cubes = s.cubes;
    const CodeState *const ind = s.lit_ind;
    int *const tails = s.cub_set;
    const int size = list.size;
    int pos = 0;
    int last = size - 1;
    while (pos <= last) {
        const int i = entries[pos];
        CubeRecord &c = cubes[i];
        // lit is one of the guards, so this is the other one (NONE for a
        // cube of one code).
        const int g = c.guard_0 ^ c.guard_1 ^ lit;
        if (g == NONE || is_set(ind, g)) {
            list.size = last + 1;
            s.stats.visits += static_cast<std::uint64_t>(size - (last - pos));
            s.cub_confl = i;
            find_recipe_m_B456_rs(s);
            return true;
        }
        if (is_set(ind, lit_neg(g))) { // falsified through its other guard
            ++pos;
            continue;
        }
        const int e = cubes[i + 1].tail;
        const int k = first_free_code(tails, ind, c.tail, e);
        if (k == e) { // every tail code set: unit through g
            enqueue(s, i, lit_neg(g));
            ++pos;
            continue;
        }
        // Move the guard to the free tail code u. The list's last entry fills
        // this slot and is examined next, at the same position.
        const int u = tails[k];
        entries[pos] = entries[last--];
        tails[k] = lit;
        move_guard(c, lit, u);
        lists[u].Append(i);
    }
    list.size = last + 1;
    s.stats.visits += static_cast<std::uint64_t>(size); // every entry was examined
    return false;
}

} // namespace vetrix
