// dratcheck [--text|--binary] [--shortening] FORMULA.cnf PROOF: checks a
// DRAT proof of the formula (see tools/drat_check.h); --shortening also
// checks that every clause the proof shortens is deleted right after its
// shorter form. Exit status: 0 "s VERIFIED" (every step checks and the empty
// clause is derived), 1 "s NOT VERIFIED" (a step fails), 3 "s NO
// REFUTATION" (every step checks, no empty clause: the proof of a
// satisfiable or interrupted run), 2 usage or unreadable input.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/drat_check.h"

namespace {

bool slurp(const std::string &path, std::string &text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return true;
}

int usage() {
    std::cerr << "usage: dratcheck [--text|--binary] [--shortening] FORMULA.cnf PROOF\n";
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    dratcheck::ProofFormat format = dratcheck::ProofFormat::detect;
    bool shortening = false;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string a = argv[first];
        if (a == "--text")
            format = dratcheck::ProofFormat::text;
        else if (a == "--binary")
            format = dratcheck::ProofFormat::binary;
        else if (a == "--shortening")
            shortening = true;
        else
            break;
    }
    if (argc - first != 2)
        return usage();
    std::string cnf, proof, error;
    if (!slurp(argv[first], cnf) || !slurp(argv[first + 1], proof)) {
        std::cerr << "dratcheck: cannot read " << (cnf.empty() ? argv[first] : argv[first + 1]) << "\n";
        return 2;
    }
    dratcheck::Clauses clauses;
    if (!dratcheck::read_dimacs(cnf, clauses, error)) {
        std::cerr << "dratcheck: " << argv[first] << ": " << error << "\n";
        return 2;
    }
    const dratcheck::Verdict v = dratcheck::check_proof(clauses, proof, format, shortening);
    std::cout << "c " << v.additions << " additions, " << v.deletions << " deletions checked\n";
    if (shortening)
        std::cout << "c " << v.shortenings << " shortened clauses, each original deleted next\n";
    if (!v.valid) {
        std::cout << "c " << v.error << "\ns NOT VERIFIED\n";
        return 1;
    }
    std::cout << (v.refuted ? "s VERIFIED\n" : "s NO REFUTATION\n");
    return v.refuted ? 0 : 3;
}
