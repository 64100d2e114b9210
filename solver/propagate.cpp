// Setting codes and propagating them through the watch lists.
//
// Propagation is breadth-first: a cube that becomes unit is appended to the
// queue in watch-list order and forces its code when the queue walk reaches
// it. An all-set cube stops everything at once and is analysed while the
// assignment is intact.
#include "solver/base_m456.h"
#include "support/uponeub.h"

namespace {

const char QUEUE_FULL[] = "\n please, stop and increase max_size_queu";

inline void enqueue(CHpGN56 &s, int cube) {
    if (s.top_queu_pnt > s.limit_queu_pnt) // never write past the queue
        AfxMessageBox(QUEUE_FULL);
    s.queu[s.top_queu_pnt++] = cube;
}

// get_sublit_B456, inlined into the queue walk.
inline int force_unit(int i, int level, CHpGN56 &s) {
    const int *ind = s.lit_ind;
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
        int x = force_unit(s.queu[w], s.lev, s);
        if (x == NONE)
            continue;
        if (subst_litB456(x, s))
            return true;
        if (s.top_queu_pnt >= s.limit_queu_pnt)
            AfxMessageBox(QUEUE_FULL);
    }
    return false;
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
    s.queu[s.top_queu_pnt++] = s.nb_cub - 1;
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
    const int *const ind = s.lit_ind;
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
        int k = c.tail;
        const int e = cubes[i + 1].tail;
        while (k < e && !is_free(ind, tails[k]))
            ++k;
        if (k == e) { // every tail code set: unit through g
            enqueue(s, i);
            ++pos;
            continue;
        }
        // Move the guard to the free tail code u. The list's last entry fills
        // this slot and is examined next, at the same position.
        const int u = tails[k];
        entries[pos] = entries[last--];
        tails[k] = lit;
        if (c.guard_0 == lit)
            c.guard_0 = u;
        else
            c.guard_1 = u;
        lists[u].Append(i);
    }
    list.size = last + 1;
    s.stats.visits += static_cast<std::uint64_t>(size); // every entry was examined
    return false;
}
