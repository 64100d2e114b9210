// vetrix::Solver with what Python needs around it: each solve runs without
// the GIL on the solver's own search thread and stops on Ctrl-C (bridge.h); interrupt(), from any thread,
// raises the solver's stop flag until clear_interrupt(); the proof goes to a
// Python file and the progress reports to a Python callable. A solver is used by one thread
// at a time: a call from another thread while a solve runs is refused.
#include "solver_binding.h"

#include <pybind11/stl.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <vetrix/vetrix.h>

#include "bridge.h"

namespace vetrix_python {

namespace {

py::list list_of(const std::vector<int> &lits) {
    py::list list(lits.size());
    for (std::size_t k = 0; k < lits.size(); ++k)
        list[k] = lits[k];
    return list;
}

class IncrementalSolver {
  public:
    // settings: options of the table by name, their values as text; proof:
    // None or an object with a binary write(); progress: None or a callable
    // taking a dict.
    IncrementalSolver(const std::vector<std::pair<std::string, std::string>> &settings, py::object proof,
                      py::object progress) {
        solver_.set_stop(&stop_);
        if (!proof.is_none()) {
            proof_buffer_ = std::make_unique<PythonWriteBuffer>(std::move(proof));
            proof_stream_ = std::make_unique<std::ostream>(proof_buffer_.get());
            solver_.set_proof(proof_stream_.get());
        }
        for (const auto &[name, value] : settings)
            solver_.set(name, value);
        if (!progress.is_none()) {
            progress_ = std::make_unique<PythonProgress>(std::move(progress));
            solver_.set_progress([holder = progress_.get()](const vetrix::Progress &p) { (*holder)(p); });
        }
    }

    // False when the clause is empty.
    bool add_clause(py::handle literals) {
        const std::vector<int> clause = clause_of(literals);
        idle().add_clause(clause);
        return !clause.empty();
    }

    // False when one of the clauses is empty.
    bool add_clauses(py::handle clauses) {
        bool none_empty = true;
        for (py::handle clause : py::iter(clauses))
            none_empty = add_clause(clause) && none_empty;
        return none_empty;
    }

    // 10 satisfiable, 20 unsatisfiable, 0 stopped. Limits of 0 are none.
    int solve(py::handle assumptions, std::int64_t conflicts, std::int64_t propagations, std::int64_t decisions) {
        vetrix::Solver &solver = idle();
        solver.assume(clause_of(assumptions)); // the whole list, or nothing
        solver.limit_conflicts(conflicts);
        solver.limit_propagations(propagations);
        solver.limit_decisions(decisions);
        vetrix::Verdict verdict = vetrix::Verdict::unknown;
        solving_ = true;
        try {
            search_.run([&] { verdict = solver.solve(); }, [this] { stop_ = true; });
        } catch (...) {
            solving_ = false;
            stop_ = interrupted_; // Ctrl-C stopped this call only
            throw;
        }
        solving_ = false;
        if (proof_buffer_ && proof_buffer_->failure())
            std::rethrow_exception(proof_buffer_->failure());
        return vetrix::verdict_code(verdict);
    }

    py::list model() { return list_of(idle().model()); }
    py::list core() { return list_of(idle().failed_assumptions()); }

    py::tuple propagate(py::handle assumptions) {
        std::vector<int> set;
        const bool consistent = idle().propagate(clause_of(assumptions), set);
        if (proof_buffer_ && proof_buffer_->failure())
            std::rethrow_exception(proof_buffer_->failure());
        return py::make_tuple(consistent, list_of(set));
    }

    // Under the GIL, as are the solves' starts and ends: no lock needed.
    void interrupt() {
        interrupted_ = true;
        stop_ = true;
    }
    void clear_interrupt() {
        interrupted_ = false;
        stop_ = false;
    }

    int num_vars() { return idle().num_vars(); }
    std::size_t num_clauses() { return idle().num_clauses(); }
    py::dict statistics() { return stats_dict(idle().statistics()); }

  private:
    vetrix::Solver &idle() {
        if (solving_)
            raise(PyExc_RuntimeError, "the solver is solving in another thread");
        return solver_;
    }

    // Declared before the solver, which uses them until it is destroyed.
    std::unique_ptr<PythonWriteBuffer> proof_buffer_;
    std::unique_ptr<std::ostream> proof_stream_;
    std::unique_ptr<PythonProgress> progress_;
    std::atomic<bool> stop_{false}; // read by the search: interrupt() or Ctrl-C
    bool interrupted_ = false;      // interrupt() was called and not cleared
    bool solving_ = false;          // a solve runs without the GIL
    vetrix::Solver solver_;
    SearchThread search_; // ended first: no search runs once the solver goes
};

} // namespace

void bind_solver(py::module_ &module) {
    py::class_<IncrementalSolver>(module, "Solver")
        .def(py::init<const std::vector<std::pair<std::string, std::string>> &, py::object, py::object>(),
             py::arg("settings"), py::arg("proof"), py::arg("progress"))
        .def("add_clause", &IncrementalSolver::add_clause)
        .def("add_clauses", &IncrementalSolver::add_clauses)
        .def("solve", &IncrementalSolver::solve, py::arg("assumptions"), py::arg("conflicts"),
             py::arg("propagations"), py::arg("decisions"))
        .def("model", &IncrementalSolver::model)
        .def("core", &IncrementalSolver::core)
        .def("propagate", &IncrementalSolver::propagate)
        .def("interrupt", &IncrementalSolver::interrupt)
        .def("clear_interrupt", &IncrementalSolver::clear_interrupt)
        .def("num_vars", &IncrementalSolver::num_vars)
        .def("num_clauses", &IncrementalSolver::num_clauses)
        .def("statistics", &IncrementalSolver::statistics);
}

} // namespace vetrix_python
