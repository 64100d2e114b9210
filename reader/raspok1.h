// DIMACS CNF reader: turns the file text into the formula of literal codes.
#pragma once

#include <string>

#include "support/my_carray.h"

// Parses text (the file's bytes followed by one NUL) into dnf, one clause per
// clause line in file order, each clause's codes in order of first
// appearance. Sets nb_var from the problem line. Input errors it can name
// leave through fatal() with the command line's message; it returns false
// when the text ends before the announced clauses are complete.
bool raspok_dnf(std::string &text, Dnf &dnf, int &nb_var);
