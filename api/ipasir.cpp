// The standard incremental interface (IPASIR) over vetrix::Solver. No
// exception crosses it: a failure (out of memory, a literal beyond the
// solver's tables) is reported on standard error and ends the process, as
// the interface has no way to return one.
#include "vetrix/ipasir.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "vetrix/error.h"
#include "vetrix/solver.h"
#include "vetrix/vetrix.h"
#include "vetrix/vetrix_c.h"

namespace vetrix {

namespace {

// A solver of the interface: one vetrix::Solver for its whole life, so that
// every setting (strategy, warm start, hooks, options) is made on the same
// object in whatever order, and the message of the last refused option.
struct IpasirSolver {
    std::unique_ptr<Solver> solver = std::make_unique<Solver>();
    std::string error;
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
        of(solver).solver->add(lit_or_zero);
    });
}

void ipasir_assume(void *solver, int32_t lit) {
    guarded([&] { of(solver).solver->assume(lit); });
}

int ipasir_solve(void *solver) {
    return guarded([&] {
        return vetrix::verdict_code(of(solver).solver->solve());
    });
}

int32_t ipasir_val(void *solver, int32_t lit) {
    return guarded([&] { return of(solver).solver->value(lit); });
}

int ipasir_failed(void *solver, int32_t lit) {
    return guarded([&] { return of(solver).solver->failed(lit) ? 1 : 0; });
}

void ipasir_set_terminate(void *solver, void *data, int (*terminate)(void *data)) {
    if (!terminate) {
        of(solver).solver->set_terminate(nullptr);
        return;
    }
    of(solver).solver->set_terminate([data, terminate] { return terminate(data) != 0; });
}

void ipasir_set_learn(void *solver, void *data, int max_length, void (*learn)(void *data, int32_t *clause)) {
    if (!learn) {
        of(solver).solver->set_learn(0, nullptr);
        return;
    }
    of(solver).solver->set_learn(max_length, [data, learn](const std::vector<int> &clause) {
        std::vector<int32_t> ended(clause.begin(), clause.end());
        ended.push_back(0);
        learn(data, ended.data());
    });
}

void vetrix_ipasir_set_warm_start(void *solver, int on) {
    vetrix_ipasir_set_option(solver, "warm-start", on ? "1" : "0");
}

int vetrix_ipasir_set_option(void *solver, const char *name, const char *value) {
    vetrix::IpasirSolver &s = of(solver);
    try {
        s.solver->set(name, value);
        s.error.clear();
        return 0;
    } catch (const vetrix::Error &e) {
        s.error = e.message().substr(0, e.message().find('\n'));
    } catch (const std::exception &e) {
        s.error = e.what();
    }
    return -1;
}

const char *vetrix_ipasir_option_error(void *solver) { return of(solver).error.c_str(); }

int vetrix_ipasir_set_strategy(void *solver, int strategy) {
    const std::string word = strategy == vetrix::FAST_STRATEGY ? "fast" : std::to_string(strategy);
    return vetrix_ipasir_set_option(solver, "strategy", word.c_str());
}

} // extern "C"
