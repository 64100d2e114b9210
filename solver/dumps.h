// Debugging aids of the solver, defined in 'dumps.cpp': recipe-length
// statistics into the info text, and printers of cubes, codes and guards to
// standard output. Nothing in a normal run calls them.
#pragma once

#include "solver/base_m456.h"

namespace vetrix {

// Appends "length/count(average level)" of every recipe length seen to info.
void statistic_recipe_info456(CHpGN56 &s);
// Prints cube c's codes: tail, guard_0, guard_1.
void cub_info_TRACE(int c, CHpGN56 &s);
// Prints cube c, its guards and every code's state (nothing for a bad index).
void cub_info_TRACE_h(int c, CHpGN56 &s);
// Prints cube c as above and the reason cube of each of its codes.
void cub_info_TRACE_h_ext(int c, CHpGN56 &s);
// Prints code x's level, depth, reason, state and its variable's activity.
void lit_info_TRACE(int x, CHpGN56 &s);
// Prints cube c's guards, then cube c as cub_info_TRACE_h does.
void guard_TRACE(int c, CHpGN56 &s);
// True when test_sol satisfies cube c; else prints the cube.
bool test_cube456(int c, CHpGN56 &s);

} // namespace vetrix
