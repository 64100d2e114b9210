#include "driver/run.h"

#include <iostream>

#include "reader/raspok1.h"
#include "solver/base_m456.h"
#include "support/file_text.h"
#include "support/literal.h"
#include "support/uponeub.h"

void check_strategy(int n) {
    if (static_cast<unsigned>(n) > 2u)
        fatal("wrong strategy " + std::to_string(n) + "\n");
}

void read_formula(std::string &text, Dnf &dnf, int &nb_var) {
    if (!raspok_dnf(text, dnf, nb_var))
        fatal("something went wrong\n");
}

// Reads the whole file in bulk, then appends the NUL the reader expects. A
// directory, or a file that cannot be read, counts as one that cannot be
// opened.
void load_formula(const char *file_name, Dnf &dnf, int &nb_var) {
    std::string text;
    if (!read_file_text(file_name, text))
        fatal("cannot open  file " + std::string(file_name) + "\n");
    text.push_back('\0');
    read_formula(text, dnf, nb_var);
}

void OnBase_m1(const char *file_name, int n, SolveStats *stats) {
    with_memory_guard([&] {
        Dnf dnf;
        int nb_var = 0;
        load_formula(file_name, dnf, nb_var); // the text is gone while solving
        base_B456_rs(dnf, nb_var, n, stats);
    });
}

void print_dnf(Dnf &dnf) {
    for (int i = 0; i < dnf.size; ++i) {
        for (int j = 0; j < dnf[i].size; ++j)
            std::cout << code_to_dimacs(dnf[i][j]) << " ";
        std::cout << "0\n";
    }
}
