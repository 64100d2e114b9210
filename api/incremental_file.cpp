#include "api/incremental_file.h"

#include <cstdio>
#include <string>
#include <vector>

#include "solver/engine.h"
#include "reader/inccnf.h"
#include "support/answer_lines.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

// The answer lines of one call: a satisfiable call's v lines, an
// unsatisfiable one's f line (the failed assumptions).
std::string call_lines(const Engine &solver, Verdict verdict) {
    std::string out = answer_lines(verdict, solver.model());
    if (verdict == Verdict::unsatisfiable)
        append_literal_lines(out, 'f', solver.failed());
    return out;
}

// A call's control: the run's bounds are each call's budget.
SolveControl call_control(const SolveControl &run, const Statistics &done) {
    SolveControl call = run;
    call.conflict_limit = limit_moved(done.conflicts, run.conflict_limit);
    call.decision_limit = limit_moved(done.decisions, run.decision_limit);
    call.propagation_limit = limit_moved(done.propagations, run.propagation_limit);
    return call;
}

bool solve_and_print(Engine &solver, const SolveControl &run) {
    const Verdict verdict = solver.solve(call_control(run, solver.stats()));
    write_answer(call_lines(solver, verdict));
    return verdict != Verdict::unknown; // a limit or a signal ends the run
}

} // namespace

void solve_incremental_file(ByteSource &text, int n, SolveStats *stats, const SolveControl *control) {
    const SolveControl none;
    const SolveControl &call = control ? *control : none;
    Engine solver(n);
    InccnfReader reader(text);
    std::vector<int> lits;
    bool called = false;
    for (;;) {
        const InccnfReader::Item item = reader.next(lits);
        if (item == InccnfReader::Item::end)
            break;
        if (item == InccnfReader::Item::clause) {
            solver.add_clause(lits.data(), lits.size());
            continue;
        }
        solver.assume(lits.data(), lits.size());
        called = true;
        if (!solve_and_print(solver, call))
            break;
    }
    if (!called)
        solve_and_print(solver, call);
    if (stats)
        *stats = solver.stats();
}

} // namespace vetrix
