// dratcheck [--text|--binary] FORMULA.cnf PROOF: checks a DRAT proof of the
// formula (see tools/drat_check.h). Exit status: 0 "s VERIFIED" (every step
// checks and the empty clause is derived), 1 "s NOT VERIFIED" (a step fails),
// 3 "s NO REFUTATION" (every step checks, no empty clause: the proof of a
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
    std::cerr << "usage: dratcheck [--text|--binary] FORMULA.cnf PROOF\n";
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    dratcheck::ProofFormat format = dratcheck::ProofFormat::detect;
    int first = 1;
    if (argc > 1 && std::string(argv[1]) == "--text") {
        format = dratcheck::ProofFormat::text;
        ++first;
    } else if (argc > 1 && std::string(argv[1]) == "--binary") {
        format = dratcheck::ProofFormat::binary;
        ++first;
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
    const dratcheck::Verdict v = dratcheck::check_proof(clauses, proof, format);
    std::cout << "c " << v.additions << " additions, " << v.deletions << " deletions checked\n";
    if (!v.valid) {
        std::cout << "c " << v.error << "\ns NOT VERIFIED\n";
        return 1;
    }
    std::cout << (v.refuted ? "s VERIFIED\n" : "s NO REFUTATION\n");
    return v.refuted ? 0 : 3;
}
