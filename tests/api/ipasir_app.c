/* A program written against the standard IPASIR interface alone (the
 * declarations of vetrix/ipasir.h are the standard ones), so it links
 * unchanged against any solver that defines the ten calls. It runs seeded
 * random sequences of clauses and assumptions and prints one line per call:
 * the answer, and whether the model satisfies every clause and assumption
 * (after 10) or the failed assumptions alone are refuted again (after 20).
 * Two solvers that answer alike print the same lines. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "vetrix/ipasir.h"

#define MAX_CLAUSES 400
#define MAX_ASSUMED 6

static uint64_t state;
static int below(int n) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (int)((state >> 33) % (uint64_t)n);
}

static int clauses[MAX_CLAUSES][3];
static int nb_clauses;
static int learnt;

static void count_learnt(void *data, int32_t *clause) {
    (void)data;
    (void)clause;
    ++learnt;
}

static int never(void *data) {
    (void)data;
    return 0;
}

/* True when lit is true in the model. The value is asked of the variable:
 * solvers agree on ipasir_val(v) for a variable v, while some answer for a
 * negative literal as for its variable. */
static int is_true(void *s, int lit) {
    const int v = lit < 0 ? -lit : lit;
    return (ipasir_val(s, v) == v) == (lit > 0);
}

static int model_ok(void *s, const int *assumed, int nb_assumed) {
    int i, k;
    for (i = 0; i < nb_clauses; ++i) {
        int sat = 0;
        for (k = 0; k < 3; ++k)
            sat |= is_true(s, clauses[i][k]);
        if (!sat)
            return 0;
    }
    for (k = 0; k < nb_assumed; ++k)
        if (!is_true(s, assumed[k]))
            return 0;
    return 1;
}

/* The failed assumptions are a subset of the assumptions that is refuted on
 * its own: assumed again alone, the answer is 20 once more. */
static int core_ok(void *s, const int *assumed, int nb_assumed) {
    int core[MAX_ASSUMED], nb_core = 0, k;
    for (k = 0; k < nb_assumed; ++k)
        if (ipasir_failed(s, assumed[k]))
            core[nb_core++] = assumed[k];
    for (k = 0; k < nb_core; ++k)
        ipasir_assume(s, core[k]);
    return ipasir_solve(s) == 20;
}

int main(int argc, char **argv) {
    int seed;
    for (seed = 1; seed <= (argc > 1 ? atoi(argv[1]) : 40); ++seed) {
        void *s = ipasir_init();
        int nb_var = 20 + seed % 30, call;
        state = (uint64_t)seed;
        nb_clauses = 0;
        ipasir_set_learn(s, NULL, 4, count_learnt);
        ipasir_set_terminate(s, NULL, never);
        for (call = 0; call < 10; ++call) {
            int assumed[MAX_ASSUMED], nb_assumed = below(MAX_ASSUMED + 1), k, answer;
            int batch = nb_var * (40 + below(40)) / 100;
            while (batch-- > 0 && nb_clauses < MAX_CLAUSES) {
                for (k = 0; k < 3; ++k) {
                    const int v = 1 + below(nb_var);
                    clauses[nb_clauses][k] = below(2) ? v : -v;
                    ipasir_add(s, clauses[nb_clauses][k]);
                }
                ipasir_add(s, 0);
                ++nb_clauses;
            }
            for (k = 0; k < nb_assumed; ++k) {
                const int v = 1 + below(nb_var);
                assumed[k] = below(2) ? v : -v;
                ipasir_assume(s, assumed[k]);
            }
            answer = ipasir_solve(s);
            printf("seed %d call %d: %d %s\n", seed, call, answer,
                   answer == 10   ? (model_ok(s, assumed, nb_assumed) ? "model ok" : "MODEL WRONG")
                   : answer == 20 ? (core_ok(s, assumed, nb_assumed) ? "core ok" : "CORE WRONG")
                                  : "unknown");
        }
        ipasir_release(s);
    }
    fprintf(stderr, "%s: %d learnt clauses of at most 4 literals\n", ipasir_signature(), learnt);
    return 0;
}
