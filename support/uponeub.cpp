// uponeub: the tail sort, the fatal-message routines (every fatal message of
// the library becomes a vetrix::Error here) and the string append.
#include "support/uponeub.h"

#include <algorithm>

#include "vetrix/error.h"

namespace vetrix {

void Uponeub_sh1(int *a, int n) { std::sort(a, a + n); }

void fatal(const std::string &message) { throw vetrix::Error(message, 1); }

void AfxMessageBox(const char *message) { fatal(message); }

void out_of_memory() { fatal("out of memory\n"); }

void string_add(std::string &s, const char *p) { s.append(p); }

} // namespace vetrix
