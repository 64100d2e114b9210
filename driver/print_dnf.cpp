#include "driver/print_dnf.h"

#include <cstdio>

#include "support/literal.h"

namespace vetrix {

void print_dnf(const Formula &formula) {
    for (int i = 0; i < formula.clause_count(); ++i) {
        for (const int *c = formula.clause_begin(i); c != formula.clause_end(i); ++c)
            std::printf("%d ", code_to_dimacs(*c));
        std::fputs("0\n", stdout);
    }
}

} // namespace vetrix
