/* The standard incremental interface of SAT solvers (IPASIR), as libvetrix
 * defines it: a program written against the usual ipasir.h links against
 * libvetrix unchanged. A solver is in state INPUT after init and after
 * add or assume, SAT after solve returned 10, UNSAT after 20; val is asked
 * in state SAT, failed in state UNSAT. Assumptions hold for the next solve
 * only. */
#ifndef VETRIX_IPASIR_H
#define VETRIX_IPASIR_H

#include <stdint.h>

#include "vetrix/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The solver's name and version, "vetrix MAJOR.MINOR.PATCH". */
VETRIX_API const char *ipasir_signature(void);
/* A new solver (the fast engine, strategy 3; vetrix_ipasir_set_strategy chooses another). */
VETRIX_API void *ipasir_init(void);
/* Frees the solver. */
VETRIX_API void ipasir_release(void *solver);
/* Adds a literal to the clause being built; 0 ends it. */
VETRIX_API void ipasir_add(void *solver, int32_t lit_or_zero);
/* Assumes lit for the next solve only. */
VETRIX_API void ipasir_assume(void *solver, int32_t lit);
/* 10 satisfiable, 20 unsatisfiable, 0 interrupted. */
VETRIX_API int ipasir_solve(void *solver);
/* After 10: lit when it is true in the model, -lit when false. */
VETRIX_API int32_t ipasir_val(void *solver, int32_t lit);
/* After 20: 1 when assumption lit was used to refute the formula, else 0. */
VETRIX_API int ipasir_failed(void *solver, int32_t lit);
/* terminate(data) is asked during solve; nonzero stops it (solve gives 0). */
VETRIX_API void ipasir_set_terminate(void *solver, void *data, int (*terminate)(void *data));
/* learn(data, clause) receives each learnt clause of at most max_length
 * literals, ended by 0. */
VETRIX_API void ipasir_set_learn(void *solver, void *data, int max_length, void (*learn)(void *data, int32_t *clause));

#ifdef __cplusplus
}
#endif

#endif
