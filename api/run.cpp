#include "api/run.h"

#include "api/incremental_file.h"
#include "reader/inccnf.h"
#include "reader/raspok1.h"
#include "support/input_file.h"
#include "support/uponeub.h"

namespace vetrix {

void read_formula(const std::string &text, Formula &formula, int &nb_var) {
    StringSource source(text.data(), text.size());
    std::string head;
    if (read_inccnf_head(source, head))
        fatal("an incremental CNF (p inccnf) holds many calls, not one formula\n");
    if (!raspok_dnf(text, formula, nb_var))
        fatal("something went wrong\n");
}

namespace {

// Reads the rest of input's text, its first bytes in text, into formula.
void read_rest(InputFile &input, PrefixedSource &text, Formula &formula, int &nb_var) {
    if (!raspok_dnf(text, formula, nb_var))
        fatal("something went wrong\n");
    input.check_rest();
}

} // namespace

void load_formula(const char *file_name, Formula &formula, int &nb_var) {
    // The input is read block by block while the formula is built; only the
    // formula outlives it.
    InputFile input(file_name);
    std::string head;
    if (read_inccnf_head(input.text(), head))
        fatal("an incremental CNF (p inccnf) holds many calls, not one formula\n");
    PrefixedSource text(std::move(head), input.text());
    read_rest(input, text, formula, nb_var);
}

void OnBase_m1(const char *file_name, int n, SolveStats *stats, const SolveControl *control) {
    with_memory_guard([&] {
        Formula formula;
        int nb_var = 0;
        {
            // As load_formula, but an incremental file is decided call by
            // call as it is read.
            InputFile input(file_name);
            std::string head;
            const bool incremental = read_inccnf_head(input.text(), head);
            PrefixedSource text(std::move(head), input.text());
            if (incremental)
                return solve_incremental_file(text, n, stats, control);
            read_rest(input, text, formula, nb_var);
        }
        base_B456_rs(formula, nb_var, n, stats, control);
    });
}

} // namespace vetrix
