#include "api/run.h"

#include "reader/raspok1.h"
#include "solver/base_m456.h"
#include "support/input_file.h"
#include "support/uponeub.h"

namespace vetrix {

Verdict verdict_of(const std::string &text) {
    if (text.rfind("s SATISFIABLE\n", 0) == 0)
        return Verdict::satisfiable;
    if (text == "s UNSATISFIABLE\n")
        return Verdict::unsatisfiable;
    return Verdict::unknown;
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

} // namespace vetrix
