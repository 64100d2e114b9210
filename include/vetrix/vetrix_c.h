/* vetrix as a library from C and foreign-function interfaces. */
#ifndef VETRIX_VETRIX_C_H
#define VETRIX_VETRIX_C_H

#include <stddef.h>

#include "vetrix/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Decides the formula of num_vars variables whose clauses are the DIMACS
 * literals lits[0 .. num_lits-1] (lits may be NULL when num_lits is 0), each
 * clause ended by 0, read by the same rules as vetrix::solve, with branching
 * strategy 0, 1, 2 or 3 (the fast engine, FAST_STRATEGY).
 *
 * Returns 10 for satisfiable (then model[v-1] is +v or -v for v = 1..num_vars,
 * the model the command line prints; model may be NULL), 20 for
 * unsatisfiable, 0 for unknown, and -1 for an error: its message, the text
 * the command line prints, is copied into error, cut to error_size bytes
 * with its NUL (error may be NULL when error_size is 0). No exception
 * crosses this function, and it may be called from several threads at once. */
VETRIX_API int vetrix_solve(int num_vars, const int *lits, size_t num_lits, int strategy, int *model, char *error,
                            size_t error_size);

/* As vetrix_solve, racing the strategies[0 .. num_strategies-1] (each 0, 1 or
 * 2, at most once; at least one) in threads of their own, as the C++
 * interface's Options::strategies does: the first to reach a verdict wins,
 * and the answer is exactly what it gives alone. *winner (winner may be
 * NULL) receives that strategy, or, when none decided, the first listed one
 * that did not fail. One strategy is exactly vetrix_solve with it. */
VETRIX_API int vetrix_solve_race(int num_vars, const int *lits, size_t num_lits, const int *strategies,
                                 size_t num_strategies, int *winner, int *model, char *error, size_t error_size);

/* The proof kind of vetrix_solve_proof, flags or-ed together. */
#define VETRIX_PROOF_BINARY 1 /* the binary encoding instead of text */
#define VETRIX_PROOF_LRAT 2   /* LRAT (clause IDs and the hints of each step) instead of DRAT */

/* As vetrix_solve_race, writing the proof of the solve (the winner's, for a
 * race) to the file proof_path, created or truncated first: DRAT, or LRAT
 * with VETRIX_PROOF_LRAT in proof_flags, as text or, with
 * VETRIX_PROOF_BINARY, binary. A proof file that cannot be created or
 * written, or other flags, are an error (-1) with a message. */
VETRIX_API int vetrix_solve_proof(int num_vars, const int *lits, size_t num_lits, const int *strategies,
                                  size_t num_strategies, const char *proof_path, int proof_flags, int *winner,
                                  int *model, char *error, size_t error_size);

/* vetrix's own addition to the incremental interface of vetrix/ipasir.h:
 * chooses the branching strategy (0, 1, 2, or 3 for the fast engine, the
 * default) of an IPASIR solver before its first clause. Returns 0, or -1
 * (nothing changed) for a strategy other than 0, 1, 2, 3 or a solver that
 * holds clauses already. */
VETRIX_API int vetrix_ipasir_set_strategy(void *solver, int strategy);

/* Sets an option of vetrix/options.h on an IPASIR solver by name, the
 * value as text, as on the command line without "--": ("conflicts",
 * "1000"), ("warm-start", "1"), ("strategy", "2") or ("strategy", "fast") (before
 * the first clause).
 * Settings are kept whatever their order. Returns 0, or -1 with nothing
 * changed and the one-line message in vetrix_ipasir_option_error. */
VETRIX_API int vetrix_ipasir_set_option(void *solver, const char *name, const char *value);
/* The message of the last refused vetrix_ipasir_set_option, or "". */
VETRIX_API const char *vetrix_ipasir_option_error(void *solver);

/* Options of the C calls, set by name (vetrix/options.h) as on the command
 * line without "--": ("strategy", "1"), ("time", "2.5"), ("conflicts",
 * "1000"), ("portfolio", "0,2"), ("lrat", "1"). */
typedef struct vetrix_options vetrix_options;
/* New options at their defaults; NULL when out of memory. */
VETRIX_API vetrix_options *vetrix_options_new(void);
VETRIX_API void vetrix_options_delete(vetrix_options *options);
/* Returns 0, or -1 with nothing changed and the one-line message in
 * vetrix_options_error. */
VETRIX_API int vetrix_set_option(vetrix_options *options, const char *name, const char *value);
/* The message of the last refused vetrix_set_option, or "". */
VETRIX_API const char *vetrix_options_error(const vetrix_options *options);

/* As vetrix_solve_proof with the options' strategy (or portfolio), limits
 * and proof format; proof_path NULL writes no proof. */
VETRIX_API int vetrix_solve_options(const vetrix_options *options, int num_vars, const int *lits, size_t num_lits,
                                    const char *proof_path, int *winner, int *model, char *error,
                                    size_t error_size);

/* Warm start for an IPASIR solver (nonzero on, 0 off), as
 * vetrix::Solver::set_warm_start: later calls decide in the polarity each
 * variable has in the last model. */
VETRIX_API void vetrix_ipasir_set_warm_start(void *solver, int on);

#ifdef __cplusplus
}
#endif

#endif
