// cnfgen [options] SEED FAMILY ARGS...: writes one generated formula to
// standard output (families and options: tools/cnfgen.h). With --clauses it
// writes the clauses as vetrix's reader stores them, as plain DIMACS, instead
// of the laid-out text.
#include <iostream>
#include <string>
#include <vector>

#include "tools/cnfgen.h"

int main(int argc, char **argv) {
    std::vector<std::string> args;
    bool clauses = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--clauses")
            clauses = true;
        else
            args.push_back(a);
    }
    cnfgen::Generated g;
    std::string error;
    if (!cnfgen::generate(args, g, error)) {
        std::cerr << "cnfgen: " << error << "\n"
                  << "usage: cnfgen [--crlf] [--comments] [--ragged] [--no-final-eol] [--random-layout]\n"
                     "              [--quirks] [--empty-clause] [--clauses] SEED FAMILY ARGS...\n"
                     "families: ksat N K RATIO | planted N K RATIO | php HOLES | xor N sat|unsat\n";
        return 2;
    }
    if (clauses)
        std::cout << cnfgen::render_plain(g.formula.nb_var, cnfgen::reader_view(g.formula.clauses));
    else
        std::cout << g.text;
    return 0;
}
