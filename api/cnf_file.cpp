#include "vetrix/cnf_file.h"

#include "api/run.h"
#include "support/literal.h"
#include "support/uponeub.h"

namespace vetrix {

Cnf read_cnf_file(const std::string &path) {
    return with_memory_guard([&] {
        Formula formula;
        Cnf cnf;
        load_formula(path.c_str(), formula, cnf.num_vars);
        cnf.clauses.resize(static_cast<size_t>(formula.clause_count()));
        for (int i = 0; i < formula.clause_count(); ++i)
            for (const int *c = formula.clause_begin(i); c != formula.clause_end(i); ++c)
                cnf.clauses[static_cast<size_t>(i)].push_back(code_to_dimacs(*c));
        return cnf;
    });
}

} // namespace vetrix
