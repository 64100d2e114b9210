#include "driver/mpi/answer.h"

#include <cstdio>
#include <string>

#include "driver/mpi/dimacs.h"

namespace vetrix {

bool model_satisfies(const Cnf &cnf, const std::vector<int> &model, std::size_t &clause) {
    auto is_true = [&](int lit) {
        const std::size_t v = var_of(lit);
        return v <= model.size() && model[v - 1] == lit;
    };
    for (clause = 0; clause < cnf.clauses.size(); ++clause) {
        bool satisfied = false;
        for (int lit : cnf.clauses[clause])
            satisfied = satisfied || is_true(lit);
        if (!satisfied)
            return false;
    }
    return true;
}

void print_verdict(Verdict verdict, const std::vector<int> &model) {
    std::string out;
    if (verdict == Verdict::satisfiable) {
        out = "s SATISFIABLE\nv";
        int written = 0;
        for (int lit : model) {
            if (lit < 0)
                continue;
            out += ' ' + std::to_string(lit);
            if (++written % 15 == 0)
                out += "\nv";
        }
        out += " 0\n";
    } else {
        out = verdict == Verdict::unsatisfiable ? "s UNSATISFIABLE\n" : "s UNKNOWN\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

int exit_status(Verdict verdict) {
    return verdict == Verdict::satisfiable ? 10 : verdict == Verdict::unsatisfiable ? 20 : 0;
}

} // namespace vetrix
