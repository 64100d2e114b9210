#include "driver/run.h"

#include <iostream>

#include "reader/raspok1.h"
#include "solver/base_m456.h"
#include "support/input_file.h"
#include "support/literal.h"
#include "support/uponeub.h"

void check_argument_count(size_t count) {
    if (count > 2)
        fatal("wrong number of arguments\n");
}

void check_strategy(int n) {
    if (static_cast<unsigned>(n) > 2u)
        fatal("wrong strategy " + std::to_string(n) + "\n");
}

void read_formula(const std::string &text, Formula &formula, int &nb_var) {
    if (!raspok_dnf(text, formula, nb_var))
        fatal("something went wrong\n");
}

void load_formula(const char *file_name, Formula &formula, int &nb_var) {
    // The input is read block by block while the formula is built; only the
    // formula outlives it.
    InputFile input(file_name);
    if (!raspok_dnf(input.text(), formula, nb_var))
        fatal("something went wrong\n");
    input.check_rest();
}

void OnBase_m1(const char *file_name, int n, SolveStats *stats, const SolveControl *control) {
    with_memory_guard([&] {
        Formula formula;
        int nb_var = 0;
        load_formula(file_name, formula, nb_var);
        base_B456_rs(formula, nb_var, n, stats, control);
    });
}

void print_dnf(const Formula &formula) {
    for (int i = 0; i < formula.clause_count(); ++i) {
        for (const int *c = formula.clause_begin(i); c != formula.clause_end(i); ++c)
            std::cout << code_to_dimacs(*c) << " ";
        std::cout << "0\n";
    }
}
