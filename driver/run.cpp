#include "driver/run.h"

#include <iostream>
#include <string>

#include "reader/raspok1.h"
#include "solver/base_m456.h"
#include "support/file_text.h"
#include "support/literal.h"
#include "support/uponeub.h"

namespace {

[[noreturn]] void cannot_open(const char *file_name) {
    std::cout << "cannot open  file " << file_name << "\n";
    end_process(1);
}

// Reads the whole file in bulk into text, then appends the NUL the reader
// expects. A directory, or a file that cannot be read, counts as one that
// cannot be opened.
void load_text(const char *file_name, std::string &text) {
    if (!read_file_text(file_name, text))
        cannot_open(file_name);
    text.push_back('\0');
}

} // namespace

void OnBase_m1(const char *file_name, int n, SolveStats *stats, const SolveControl *control) {
    std::string text;
    load_text(file_name, text);
    Dnf dnf;
    int nb_var = 0;
    if (!raspok_dnf(text, dnf, nb_var)) {
        std::cout << "something went wrong\n";
        end_process(1);
    }
    std::string().swap(text); // the text is not needed while solving
    base_B456_rs(dnf, nb_var, n, stats, control);
}

void print_dnf(Dnf &dnf) {
    for (int i = 0; i < dnf.size; ++i) {
        for (int j = 0; j < dnf[i].size; ++j)
            std::cout << code_to_dimacs(dnf[i][j]) << " ";
        std::cout << "0\n";
    }
}
