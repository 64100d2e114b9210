#include "support/answer_lines.h"

#include <cstdio>

namespace vetrix {

void append_literal_lines(std::string &out, char letter, const std::vector<int> &lits) {
    char number[16];
    out += letter;
    int listed = 0;
    for (int lit : lits) {
        std::snprintf(number, sizeof number, " %d", lit);
        out += number;
        if (++listed % 15 == 0)
            (out += '\n') += letter;
    }
    out += " 0\n";
}

std::string answer_lines(Verdict verdict, const std::vector<int> &model) {
    if (verdict == Verdict::unsatisfiable)
        return "s UNSATISFIABLE\n";
    if (verdict != Verdict::satisfiable)
        return "s UNKNOWN\n";
    std::vector<int> true_vars;
    for (int lit : model)
        if (lit > 0)
            true_vars.push_back(lit);
    std::string out = "s SATISFIABLE\n";
    append_literal_lines(out, 'v', true_vars);
    return out;
}

void write_answer(const std::string &text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace vetrix
