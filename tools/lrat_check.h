// An independent LRAT checker for vetrix's proofs. It shares no code with the
// solver. Each step is checked from its hints alone, in one forward pass:
// the negation of an added clause is assumed, and each hint in turn must
// name a clause held that is unit under it (its one free literal is then
// set) or, the last one only, falsified; nothing is searched, so the check
// takes time linear in the proof's size. Hints of RAT steps (negative IDs)
// are not accepted: vetrix never needs them.
//
// The formula's clauses have the IDs 1, 2, ... in file order; an added
// clause must take an ID above every ID before it (the first may leave a
// gap above the formula's: an incremental solver's added clauses take IDs
// above those its input clauses can take); a hint or a deletion
// must name a clause held (not deleted).
#pragma once

#include <cstddef>
#include <string>

#include "tools/drat_check.h"

namespace lratcheck {

using dratcheck::Clause;
using dratcheck::Clauses;

enum class ProofFormat { detect, text, binary };

struct Verdict {
    bool valid = false;   // every step checked
    bool refuted = false; // the empty clause was added (and checked)
    std::size_t additions = 0;
    std::size_t deletions = 0;
    std::size_t hints = 0; // hints followed
    std::string error;    // the first failing step, when not valid
};

// Checks proof (text "ID lits 0 hints 0" and "ID d ids 0" lines, or the
// binary 'a'/'d' steps) against the formula clauses. Reading stops at the
// first empty clause that checks. Detection: binary when the proof begins
// with 'a' or 'd'.
Verdict check_proof(const Clauses &clauses, const std::string &proof, ProofFormat format = ProofFormat::detect);

} // namespace lratcheck
