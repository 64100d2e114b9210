#include "driver/print_dnf.h"

#include <iostream>

#include "support/literal.h"

namespace vetrix {

void print_dnf(const Formula &formula) {
    for (int i = 0; i < formula.clause_count(); ++i) {
        for (const int *c = formula.clause_begin(i); c != formula.clause_end(i); ++c)
            std::cout << code_to_dimacs(*c) << " ";
        std::cout << "0\n";
    }
}

} // namespace vetrix
