/* Long runs of incremental calls through the standard IPASIR calls alone
 * (built against libvetrix and against CaDiCaL's libcadical.a by
 * long_calls.sh): time per call and resident memory at the start and at the
 * end of CALLS calls (default 200000). Every workload starts from one
 * planted 3-SAT formula of 100 variables at ratio 3.5, and every clause
 * added is satisfied by the planted assignment, so every call without an
 * assumption against it stays satisfiable.
 *
 *   same        CALLS calls, no additions, each under 3 random assumptions
 *   clauses     a planted clause added every 5 calls; within a few
 *               thousand calls the planted assignment is the only model
 *               and every variable is fixed at the root, so the calls are
 *               then decided at once: what remains is the cost of holding
 *               a growing formula
 *   activation  every 10 calls a new variable a and the clause -a | planted
 *               clause; the 10 calls assume a, then the unit -a retires it
 *
 * One line per workload and window (the first and the last WINDOW calls):
 * workload, window, calls in it, microseconds of CPU per call, resident MB
 * at the window's end, and the answers' checksum over the whole run. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include "vetrix/ipasir.h"

#define VARS 100
#define WINDOW 10000

static uint64_t rng;
static int below(int n) {
    rng = rng * 6364136223846793005ULL + 1442695040888963407ULL;
    return (int)((rng >> 33) % (uint64_t)n);
}

static double cpu_now(void) {
    struct timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return (double)t.tv_sec + 1e-9 * (double)t.tv_nsec;
}

/* Resident megabytes of the process now. */
static double resident_mb(void) {
    long pages = 0, resident = 0;
    FILE *f = fopen("/proc/self/statm", "r");
    if (f) {
        if (fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        fclose(f);
    }
    return (double)resident * (double)sysconf(_SC_PAGESIZE) / 1048576.0;
}

static int planted[VARS + 1]; /* +1 or -1: the planted value of each variable */

/* A random 3-literal clause over 1..VARS that the planted assignment
 * satisfies, added to s, with the literal pre (0: none) in front. */
static void planted_clause(void *s, int pre) {
    int lits[3], k, ok = 0;
    while (!ok) {
        for (k = 0; k < 3; ++k) {
            const int v = 1 + below(VARS);
            lits[k] = below(2) ? v : -v;
            ok |= lits[k] * planted[v] > 0;
        }
    }
    if (pre)
        ipasir_add(s, pre);
    for (k = 0; k < 3; ++k)
        ipasir_add(s, lits[k]);
    ipasir_add(s, 0);
}

static void report(const char *workload, const char *window, long calls, double seconds) {
    printf("%s\t%s\t%ld\t%.2f\t%.1f\n", workload, window, calls, 1e6 * seconds / (double)calls, resident_mb());
    fflush(stdout);
}

static void run(const char *workload, long calls) {
    void *s = ipasir_init();
    long call, checksum = 0;
    int v, activation = 0;
    double start = 0;
    rng = 7;
    for (v = 1; v <= VARS; ++v)
        planted[v] = below(2) ? 1 : -1;
    for (v = 0; v < VARS * 7 / 2; ++v)
        planted_clause(s, 0);
    for (call = 0; call < calls; ++call) {
        int k;
        if (call == 0 || call == calls - WINDOW)
            start = cpu_now();
        if (strcmp(workload, "clauses") == 0 && call % 5 == 4)
            planted_clause(s, 0);
        if (strcmp(workload, "activation") == 0 && call % 10 == 0) {
            if (activation)
                ipasir_add(s, -activation), ipasir_add(s, 0);
            activation = VARS + 1 + (int)(call / 10);
            planted_clause(s, -activation);
        }
        if (activation)
            ipasir_assume(s, activation);
        for (k = 0; k < 3; ++k) {
            const int a = 1 + below(VARS);
            ipasir_assume(s, below(2) ? a : -a);
        }
        checksum = (checksum * 31 + ipasir_solve(s)) % 1000000007L;
        if (call == WINDOW - 1)
            report(workload, "start", WINDOW, cpu_now() - start);
        if (call == calls - 1)
            report(workload, "end", WINDOW, cpu_now() - start);
    }
    printf("%s\tchecksum\t%ld\t%ld\n", workload, calls, checksum);
    ipasir_release(s);
}

int main(int argc, char **argv) {
    const long calls = argc > 1 ? atol(argv[1]) : 200000;
    const char *only = argc > 2 ? argv[2] : "";
    if (calls < 2 * WINDOW) {
        fprintf(stderr, "long_calls: at least %d calls\n", 2 * WINDOW);
        return 2;
    }
    if (!*only || strcmp(only, "same") == 0)
        run("same", calls);
    if (!*only || strcmp(only, "clauses") == 0)
        run("clauses", calls);
    if (!*only || strcmp(only, "activation") == 0)
        run("activation", calls);
    return 0;
}
