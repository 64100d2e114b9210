// The standard incremental interface (IPASIR) over vetrix::Solver. No
// exception crosses it: a failure (out of memory, a literal beyond the
// solver's tables) is reported on standard error and ends the process, as
// the interface has no way to return one.
#include "vetrix/ipasir.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "vetrix/error.h"
#include "vetrix/solver.h"
#include "vetrix/vetrix.h"
#include "vetrix/vetrix_c.h"

namespace vetrix {

namespace {

// A solver of the interface; whether it holds a literal yet decides whether
// its strategy can still be chosen. Choosing it makes the solver anew, so
// the settings made before are kept here to be given to the new one: the
// assumptions of the next call, the callbacks and warm start.
struct IpasirSolver {
    std::unique_ptr<Solver> solver = std::make_unique<Solver>();
    bool has_clauses = false;
    std::vector<int> assumed; // since the last solve
    std::function<bool()> terminate;
    int learn_max = 0;
    std::function<void(const std::vector<int> &)> learn;
    bool warm = false;

    void renew(int strategy) {
        solver = std::make_unique<Solver>(strategy);
        for (int lit : assumed)
            solver->assume(lit);
        solver->set_terminate(terminate);
        solver->set_learn(learn_max, learn);
        solver->set_warm_start(warm);
    }
};

IpasirSolver &of(void *solver) { return *static_cast<IpasirSolver *>(solver); }

template <class F> auto guarded(F f) -> decltype(f()) {
    try {
        return f();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vetrix: %s", e.what());
        std::abort();
    }
}

} // namespace

} // namespace vetrix

using vetrix::guarded;
using vetrix::of;

extern "C" {

const char *ipasir_signature(void) {
    static const std::string signature = std::string("vetrix ") + vetrix::version();
    return signature.c_str();
}

void *ipasir_init(void) {
    return guarded([] { return static_cast<void *>(new vetrix::IpasirSolver()); });
}

void ipasir_release(void *solver) { delete &of(solver); }

void ipasir_add(void *solver, int32_t lit_or_zero) {
    guarded([&] {
        of(solver).has_clauses = true;
        of(solver).solver->add(lit_or_zero);
    });
}

void ipasir_assume(void *solver, int32_t lit) {
    guarded([&] {
        of(solver).solver->assume(lit);
        of(solver).assumed.push_back(lit);
    });
}

int ipasir_solve(void *solver) {
    return guarded([&] {
        of(solver).assumed.clear();
        switch (of(solver).solver->solve()) {
        case vetrix::Verdict::satisfiable:
            return 10;
        case vetrix::Verdict::unsatisfiable:
            return 20;
        default:
            return 0;
        }
    });
}

int32_t ipasir_val(void *solver, int32_t lit) {
    return guarded([&] { return of(solver).solver->value(lit); });
}

int ipasir_failed(void *solver, int32_t lit) {
    return guarded([&] { return of(solver).solver->failed(lit) ? 1 : 0; });
}

void ipasir_set_terminate(void *solver, void *data, int (*terminate)(void *data)) {
    vetrix::IpasirSolver &s = of(solver);
    s.terminate = nullptr;
    if (terminate)
        s.terminate = [data, terminate] { return terminate(data) != 0; };
    s.solver->set_terminate(s.terminate);
}

void ipasir_set_learn(void *solver, void *data, int max_length, void (*learn)(void *data, int32_t *clause)) {
    vetrix::IpasirSolver &s = of(solver);
    s.learn = nullptr;
    s.learn_max = learn ? max_length : 0;
    if (learn)
        s.learn = [data, learn](const std::vector<int> &clause) {
            std::vector<int32_t> ended(clause.begin(), clause.end());
            ended.push_back(0);
            learn(data, ended.data());
        };
    s.solver->set_learn(s.learn_max, s.learn);
}

void vetrix_ipasir_set_warm_start(void *solver, int on) {
    of(solver).warm = on != 0;
    of(solver).solver->set_warm_start(on != 0);
}

int vetrix_ipasir_set_strategy(void *solver, int strategy) {
    vetrix::IpasirSolver &s = of(solver);
    if (s.has_clauses || strategy < 0 || strategy > 2)
        return -1;
    return guarded([&] {
        s.renew(strategy);
        return 0;
    });
}

} // extern "C"
