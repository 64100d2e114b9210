// raspok1, the DIMACS CNF reader: turns the input's text into the formula of
// literal codes (raspok_dnf), checking the problem line, every count and
// every literal on the way.
#pragma once

#include <string>

#include "support/byte_source.h"
#include "support/formula.h"

namespace vetrix {

// Reads the text of input into formula (empty), one clause per clause line in
// file order, each clause's codes in order of first appearance, in a single
// pass over blocks of the input. Sets nb_var from the problem line. Input
// errors it can name leave through fatal() (a vetrix::Error) with the command
// line's message; it returns false when the text ends before the announced
// clauses are complete.
bool raspok_dnf(ByteSource &input, Formula &formula, int &nb_var);

// The same for a text held in memory: the bytes followed by one NUL.
bool raspok_dnf(const std::string &text, Formula &formula, int &nb_var);

} // namespace vetrix
