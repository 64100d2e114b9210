/* Incremental workloads through the standard IPASIR calls alone, so that the
 * same program measures any solver that defines them (built once against
 * libvetrix and once against CaDiCaL's libcadical.a by ipasir_calls.sh).
 * Each workload is seeded and deterministic; the program prints one line per
 * workload: its name, the calls made, the answers' checksum (equal between
 * correct solvers, except for cores, whose path follows the failed sets)
 * and the CPU seconds.
 *
 *   full      a planted 3-SAT formula of 120 variables at ratio 8 (one
 *             solution, almost surely), then calls each assuming a full
 *             assignment: the solution, or the solution with one variable
 *             flipped; blocks of 50 calls with a new clause between blocks
 *   backbone  the backbone of a random 3-SAT formula of 200 variables at
 *             ratio 3.9: one call per candidate variable assuming its
 *             opposite value, a unit clause for each backbone literal found
 *   grow      a formula built in 60 steps of 40 clauses over 200 variables,
 *             one call after each step under 5 random assumptions
 *   cores     a random 3-SAT formula of 150 variables at ratio 4.1, each
 *             clause i guarded by a selector s_i; calls assume all selectors
 *             but a random tenth left out, and drop the failed ones' clauses
 *             (a deletion-based MUS-like loop) */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include "vetrix/ipasir.h"

/* Built with -DVETRIX_WARM against libvetrix: every solver starts its later
 * calls warm (vetrix_ipasir_set_warm_start). */
#ifdef VETRIX_WARM
#include "vetrix/vetrix_c.h"
static void *new_solver(void) {
    void *s = ipasir_init();
    vetrix_ipasir_set_warm_start(s, 1);
    return s;
}
#else
static void *new_solver(void) { return ipasir_init(); }
#endif

static uint64_t rng;
static int below(int n) {
    rng = rng * 6364136223846793005ULL + 1442695040888963407ULL;
    return (int)((rng >> 33) % (uint64_t)n);
}

/* CPU seconds of the process: on a shared machine they vary less than
 * wall seconds, and every workload runs in this one thread. */
static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return (double)t.tv_sec + 1e-9 * (double)t.tv_nsec;
}

/* True when variable v is true in the model (asked of the variable: solvers
 * agree on ipasir_val(v) for a variable). */
static int var_true(void *s, int v) { return ipasir_val(s, v) == v; }

static void clause3(void *s, int a, int b, int c) {
    ipasir_add(s, a);
    ipasir_add(s, b);
    ipasir_add(s, c);
    ipasir_add(s, 0);
}

static int random_lit(int n) {
    const int v = 1 + below(n);
    return below(2) ? v : -v;
}

static void report(const char *name, long calls, unsigned long sum, double start) {
    printf("%s\t%ld\t%lu\t%.4f\n", name, calls, sum, now() - start);
    fflush(stdout);
}

static void full(long calls) {
    enum { N = 120 };
    int planted[N + 1], v, k;
    long c;
    unsigned long sum = 0;
    void *s = new_solver();
    double start;
    rng = 1;
    for (v = 1; v <= N; ++v)
        planted[v] = below(2) ? v : -v;
    for (k = 0; k < 8 * N; ++k) {
        int a = random_lit(N), b = random_lit(N), d = random_lit(N);
        if (a != planted[abs(a)] && b != planted[abs(b)] && d != planted[abs(d)])
            a = -a; /* keep the planted solution */
        clause3(s, a, b, d);
    }
    start = now();
    for (c = 0; c < calls; ++c) {
        const int flip = below(4) == 0 ? 0 : 1 + below(N);
        for (v = 1; v <= N; ++v)
            ipasir_assume(s, v == flip ? -planted[v] : planted[v]);
        sum = sum * 31 + (unsigned long)ipasir_solve(s);
        if (c % 50 == 49) { /* a clause the planted solution satisfies */
            int a = random_lit(N), b = random_lit(N);
            clause3(s, planted[1 + below(N)], a, b);
        }
    }
    report("full", calls, sum, start);
    ipasir_release(s);
}

static void backbone(void) {
    enum { N = 200 };
    int candidate[N + 1], v, k;
    long calls = 0;
    unsigned long sum = 0;
    void *s = new_solver();
    double start;
    rng = 2;
    for (k = 0; k < 39 * N / 10; ++k)
        clause3(s, random_lit(N), random_lit(N), random_lit(N));
    start = now();
    ++calls;
    if (ipasir_solve(s) != 10) {
        report("backbone", calls, 20, start);
        ipasir_release(s);
        return;
    }
    for (v = 1; v <= N; ++v)
        candidate[v] = var_true(s, v) ? v : -v;
    for (v = 1; v <= N; ++v) {
        int r;
        if (candidate[v] == 0)
            continue;
        ipasir_assume(s, -candidate[v]);
        ++calls;
        r = ipasir_solve(s);
        if (r == 20) {
            ipasir_add(s, candidate[v]);
            ipasir_add(s, 0);
            sum = sum * 31 + (unsigned long)v;
            continue;
        }
        for (k = v; k <= N; ++k) /* the new model rules out candidates */
            if (candidate[k] != 0 && var_true(s, k) != (candidate[k] > 0))
                candidate[k] = 0;
    }
    report("backbone", calls, sum, start);
    ipasir_release(s);
}

static void grow(void) {
    enum { N = 200 };
    int step, k;
    unsigned long sum = 0;
    void *s = new_solver();
    double start = now();
    rng = 3;
    for (step = 0; step < 60; ++step) {
        for (k = 0; k < 40; ++k)
            clause3(s, random_lit(N), random_lit(N), random_lit(N));
        for (k = 0; k < 5; ++k)
            ipasir_assume(s, random_lit(N));
        sum = sum * 31 + (unsigned long)ipasir_solve(s);
    }
    report("grow", 60, sum, start);
    ipasir_release(s);
}

static void cores(void) {
    enum { N = 150, M = 615 };
    int active[M], k, round;
    long calls = 0;
    unsigned long sum = 0;
    void *s = new_solver();
    double start;
    rng = 4;
    for (k = 0; k < M; ++k) {
        ipasir_add(s, -(N + 1 + k)); /* selector N+1+k switches clause k on */
        clause3(s, random_lit(N), random_lit(N), random_lit(N));
        active[k] = 1;
    }
    start = now();
    for (round = 0; round < 300; ++round) {
        int r;
        for (k = 0; k < M; ++k)
            if (active[k] && below(10) != 0)
                ipasir_assume(s, N + 1 + k);
        ++calls;
        r = ipasir_solve(s);
        sum = sum * 31 + (unsigned long)r;
        if (r != 20)
            continue;
        for (k = 0; k < M; ++k)
            if (active[k] && ipasir_failed(s, N + 1 + k) && below(4) == 0)
                active[k] = 0;
    }
    report("cores", calls, sum, start);
    ipasir_release(s);
}

int main(int argc, char **argv) {
    const long calls = argc > 1 ? atol(argv[1]) : 3000;
    fprintf(stderr, "%s\n", ipasir_signature());
    full(calls);
    backbone();
    grow();
    cores();
    return 0;
}
