// Literal codes: DIMACS +v is 2(v-1), -v is 2(v-1)+1. The lowest bit is the
// sign, code >> 1 the 0-based variable, code ^ 1 the complement.
#pragma once

inline int lit_var(int code) { return code >> 1; }
inline int lit_neg(int code) { return code ^ 1; }
inline int dimacs_to_code(int v, bool negative) { return 2 * (v - 1) + (negative ? 1 : 0); }
inline int code_to_dimacs(int code) { return (code & 1) ? -(code + 1) / 2 : code / 2 + 1; }
