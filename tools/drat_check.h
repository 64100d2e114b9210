// An independent DRAT checker for vetrix's proofs. It shares no code with the
// solver: its own DIMACS reader, its own proof reader (text and binary DRAT),
// and a forward check in which every added clause must be a reverse unit
// propagation (RUP) consequence of the clauses held at that point, found by
// unit propagation over two watched literals per clause. RAT additions are
// not accepted: vetrix never needs them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace dratcheck {

using Clause = std::vector<int>; // signed DIMACS literals
using Clauses = std::vector<Clause>;

// Reads DIMACS CNF text: 'c' comment lines, the "p cnf VARS CLAUSES" line
// (the format word is not looked at), then clauses of whitespace-separated
// literals each ended by 0, up to the announced number; literals may exceed
// VARS. On failure returns false with a message in error.
bool read_dimacs(const std::string &text, Clauses &clauses, std::string &error);

enum class ProofFormat { detect, text, binary };

struct Verdict {
    bool valid = false;      // every step checked: additions RUP, deletions of held clauses
    bool refuted = false;    // the empty clause was added (and checked)
    std::size_t additions = 0;
    std::size_t deletions = 0;
    std::string error;       // the first failing step, when not valid
    // With shortening checked: additions that shorten a held clause, each
    // followed by the deletion of that clause.
    std::size_t shortenings = 0;
};

// Checks proof against the formula clauses. Reading stops at the first
// empty clause that checks.
//
// With check_shortening, the proof must also keep the promise of vetrix's
// reviews: an addition whose literals, all free at the root, are a strict
// subset of a held clause whose other literals are all false at the root
// is that clause shortened, and the very next step must delete the clause
// (a step that deletes a clause not held fails in every mode).
Verdict check_proof(const Clauses &clauses, const std::string &proof,
                    ProofFormat format = ProofFormat::detect, bool check_shortening = false);

} // namespace dratcheck
