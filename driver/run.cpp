#include "driver/run.h"

#include <iostream>

#include "reader/raspok1.h"
#include "solver/base_m456.h"
#include "support/input_file.h"
#include "support/literal.h"
#include "support/uponeub.h"

void OnBase_m1(const char *file_name, int n, SolveStats *stats) {
    Formula formula;
    int nb_var = 0;
    if (decides_code_0_first(n))
        formula.stop_storing_after_unit_pair(); // the verdict needs no clauses then
    {
        // The input is read block by block while the formula is built; only
        // the formula outlives it.
        InputFile input(file_name);
        if (!raspok_dnf(input.text(), formula, nb_var))
            fatal("something went wrong\n");
        input.check_rest();
    }
    base_B456_rs(formula, nb_var, n, stats);
}

void print_dnf(const Formula &formula) {
    for (int i = 0; i < formula.clause_count(); ++i) {
        for (const int *c = formula.clause_begin(i); c != formula.clause_end(i); ++c)
            std::cout << code_to_dimacs(*c) << " ";
        std::cout << "0\n";
    }
}
