#include "driver/mpi/single.h"

#include <chrono>
#include <cstdio>
#include <fstream>

#include "driver/mpi/process_time.h"
#include "driver/mpi/answer.h"
#include "driver/signals.h"
#include "vetrix/vetrix.h"

namespace vetrix {

int run_single(const Cnf &cnf, const MpiOptions &options) {
    Solver solver(options.strategy);
    solver.declare_vars(cnf.num_vars);
    for (const std::vector<int> &clause : cnf.clauses)
        solver.add_clause(clause);
    std::ofstream proof;
    if (!options.proof.empty()) {
        proof.open(options.proof, std::ios::binary);
        if (!proof) {
            std::fprintf(stderr, "vetrix-mpi: cannot create proof file '%s'\n", options.proof.c_str());
            return 1;
        }
        solver.set_proof(&proof);
    }
    catch_stop_signals();
    solver.set_stop(&stop_signal_flag());
    if (options.time_limit > 0)
        solver.limit_time(options.time_limit);
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    const Verdict verdict = solver.solve();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::vector<int> model;
    std::size_t clause = 0;
    if (verdict == Verdict::satisfiable && !model_satisfies(cnf, model = solver.model(), clause)) {
        std::printf("vetrix-mpi: the model falsifies clause %zu\n", clause + 1);
        return 1;
    }
    print_verdict(verdict, model);
    solver.set_proof(nullptr); // the last steps reach the file
    if (proof.is_open()) {
        proof.close();
        if (proof.fail()) {
            std::fprintf(stderr, "vetrix-mpi: writing the proof to '%s' failed\n", options.proof.c_str());
            return 1;
        }
    }
    if (options.stats) {
        std::fprintf(stderr, "c conflicts %llu\n", static_cast<unsigned long long>(solver.statistics().conflicts));
        std::fprintf(stderr, "c rank 0 cpu %.3f s\n", process_cpu_seconds());
        std::fprintf(stderr, "c wall %.3f s\n", wall);
    }
    return exit_status(verdict);
}

} // namespace vetrix
