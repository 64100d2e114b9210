// Debugging aids: recipe-length statistics into the info text, and printers
// of cubes, codes and guards to standard output.
#include <cstdio>

#include "solver/dumps.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

void print(const char *format, int a) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, a);
    std::fputs(buf, stdout);
}

void print(const char *format, int a, int b) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, a, b);
    std::fputs(buf, stdout);
}

bool is_cube_index(const CHpGN56 &s, int c) { return c >= 0 && c < s.nb_cub; }

} // namespace

void statistic_recipe_info456(CHpGN56 &s) {
    string_add(s.info, "\nRecipes_info: lenght/amount(average level)\n");
    char buf[64];
    for (int n = 0; n < s.nb_var; ++n) {
        const int count = s.recipe_len_nb[n];
        if (count == 0)
            continue;
        std::snprintf(buf, sizeof buf, "%d/%d(%d), ", n, count, s.recipe_len_lev[n] / count);
        string_add(s.info, buf);
    }
    string_add(s.info, "\n");
}

void cub_info_TRACE(int c, CHpGN56 &s) {
    print("\n c[%d]:", c);
    for (int k = s.cub_data_pnt[c], e = s.cub_data_pnt[c + 1]; k < e; ++k)
        print("%d,", s.cub_set[k]);
    print("%d,", s.guard_0[c]);
    print("%d,", s.guard_1[c]);
}

void cub_info_TRACE_h(int c, CHpGN56 &s) {
    if (!is_cube_index(s, c))
        return;
    cub_info_TRACE(c, s);
    print(" - g0=%d,g1=%d", s.guard_0[c], s.guard_1[c]);
    for_cube_codes(s, c, [&](int x) { lit_info_TRACE(x, s); });
}

void cub_info_TRACE_h_ext(int c, CHpGN56 &s) {
    if (!is_cube_index(s, c))
        return;
    cub_info_TRACE_h(c, s);
    for_cube_codes(s, c, [&](int x) { cub_info_TRACE_h(s.lit_n[x], s); });
}

void lit_info_TRACE(int x, CHpGN56 &s) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "\n Lit[%d]:u=%d,ul=%d,n=%d,ind=%d,act=%d", x, s.lit_u[x],
                  s.lit_ul[x], s.lit_n[x], s.lit_ind[x], s.var_activity_old[lit_var(x)]);
    std::fputs(buf, stdout);
}

void guard_TRACE(int c, CHpGN56 &s) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "\nc[%d]:g_0=%d, g_1=%d", c, s.guard_0[c], s.guard_1[c]);
    std::fputs(buf, stdout);
    cub_info_TRACE_h(c, s);
}

bool test_cube456(int c, CHpGN56 &s) {
    bool satisfied = false;
    for_cube_codes(s, c, [&](int x) { satisfied = satisfied || code_true(s.test_sol.data, x); });
    if (!satisfied)
        cub_info_TRACE_h(c, s);
    return satisfied;
}

} // namespace vetrix
