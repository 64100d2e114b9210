// Literal codes: DIMACS +v is 2(v-1), -v is 2(v-1)+1. The lowest bit is the
// sign, code >> 1 the 0-based variable, code ^ 1 the complement. Every piece
// of code arithmetic goes through these helpers; they compile to the single
// instruction they name.
#pragma once

namespace vetrix {

// The 0-based variable of a code.
constexpr int lit_var(int code) { return code >> 1; }
// The complement of a code: the same variable, the other sign.
constexpr int lit_neg(int code) { return code ^ 1; }
// True for the code of a negative input literal (odd code).
constexpr bool code_negative(int code) { return (code & 1) != 0; }
// The code of the positive input literal of 0-based variable var (even).
constexpr int positive_code(int var) { return 2 * var; }
// The code of the negative input literal of 0-based variable var (odd).
constexpr int negative_code(int var) { return 2 * var + 1; }
// The number of codes of vars variables.
constexpr int code_count(int vars) { return 2 * vars; }
// The code of DIMACS literal +v or -v (v counted from 1).
constexpr int dimacs_to_code(int v, bool negative) { return positive_code(v - 1) + (negative ? 1 : 0); }
// The DIMACS literal of a code.
constexpr int code_to_dimacs(int code) { return code_negative(code) ? -(lit_var(code) + 1) : lit_var(code) + 1; }

} // namespace vetrix
