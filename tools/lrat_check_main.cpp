// lratcheck [--text|--binary] FORMULA.cnf PROOF: checks an LRAT proof of the
// formula (see tools/lrat_check.h) in one forward pass. Exit status: 0
// "s VERIFIED" (every step checks and the empty clause is derived), 1 "s NOT
// VERIFIED" (a step fails), 3 "s NO REFUTATION" (every step checks, no empty
// clause: the proof of a satisfiable or interrupted run), 2 usage or
// unreadable input.
#include <cstdio>
#include <iostream>
#include <string>

#include "tools/lrat_check.h"

namespace {

// The whole file in one read.
bool slurp(const std::string &path, std::string &text) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    text.clear();
    char block[1 << 16];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;)
        text.append(block, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

int usage() {
    std::cerr << "usage: lratcheck [--text|--binary] FORMULA.cnf PROOF\n";
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    lratcheck::ProofFormat format = lratcheck::ProofFormat::detect;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string a = argv[first];
        if (a == "--text")
            format = lratcheck::ProofFormat::text;
        else if (a == "--binary")
            format = lratcheck::ProofFormat::binary;
        else
            break;
    }
    if (argc - first != 2)
        return usage();
    std::string cnf, proof, error;
    for (int k = 0; k < 2; ++k)
        if (!slurp(argv[first + k], k == 0 ? cnf : proof)) {
            std::cerr << "lratcheck: cannot read " << argv[first + k] << "\n";
            return 2;
        }
    lratcheck::Clauses clauses;
    if (!dratcheck::read_dimacs(cnf, clauses, error)) {
        std::cerr << "lratcheck: " << argv[first] << ": " << error << "\n";
        return 2;
    }
    const lratcheck::Verdict v = lratcheck::check_proof(clauses, proof, format);
    std::cout << "c " << v.additions << " additions with " << v.hints << " hints, " << v.deletions
              << " deletions checked\n";
    if (!v.valid) {
        std::cout << "c " << v.error << "\ns NOT VERIFIED\n";
        return 1;
    }
    std::cout << (v.refuted ? "s VERIFIED\n" : "s NO REFUTATION\n");
    return v.refuted ? 0 : 3;
}
