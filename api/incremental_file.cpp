#include "api/incremental_file.h"

#include <cstdio>
#include <string>
#include <vector>

#include "api/incremental.h"
#include "reader/inccnf.h"
#include "solver/proof.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

// The literals as a v or f line lists them: 15 a line, each line begun by
// the letter, the last ended by 0.
void append_lines(std::string &out, char letter, const std::vector<int> &lits) {
    out += letter;
    int listed = 0;
    for (int lit : lits) {
        out += " " + std::to_string(lit);
        if (++listed % 15 == 0)
            (out += '\n') += letter;
    }
    out += " 0\n";
}

// The verdict lines of one call; false when the run ends with it.
bool answer_lines(const Incremental &solver, Verdict verdict, std::string &out) {
    switch (verdict) {
    case Verdict::satisfiable: {
        out += "s SATISFIABLE\n";
        std::vector<int> true_vars;
        for (int lit : solver.model())
            if (lit > 0)
                true_vars.push_back(lit);
        append_lines(out, 'v', true_vars);
        return true;
    }
    case Verdict::unsatisfiable:
        out += "s UNSATISFIABLE\n";
        append_lines(out, 'f', solver.failed());
        return true;
    default:
        out += "s UNKNOWN\n";
        return false;
    }
}

// A call's control: the run's bounds are each call's budget.
SolveControl call_control(const SolveControl &run, const Statistics &done) {
    SolveControl call = run;
    call.conflict_limit = limit_moved(done.conflicts, run.conflict_limit);
    call.decision_limit = limit_moved(done.decisions, run.decision_limit);
    call.propagation_limit = limit_moved(done.propagations, run.propagation_limit);
    return call;
}

bool solve_and_print(Incremental &solver, const SolveControl &run) {
    std::string out;
    const bool goes_on = answer_lines(solver, solver.solve(call_control(run, solver.stats())), out);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return goes_on;
}

} // namespace

void solve_incremental_file(ByteSource &text, int n, SolveStats *stats, const SolveControl *control) {
    const SolveControl none;
    const SolveControl &call = control ? *control : none;
    Incremental solver(n);
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
        for (int lit : lits)
            solver.assume(lit);
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
