// uponeub, the design's small utilities: the sort of a cube's tail
// (Uponeub_sh1), the one way out for every fatal message (fatal, with the
// design's AfxMessageBox and out_of_memory beside it) and string appends for
// the diagnostic text.
#pragma once

#include <new>
#include <string>

namespace vetrix {

// Sorts a[0 .. n-1] ascending in place. Integers sorted ascending have one
// order, so the method cannot change a cube's tail.
void Uponeub_sh1(int *a, int n);

// Leaves the solve with the message the command line prints, exactly, and
// exit status 1: throws vetrix::Error. Every fatal condition of the reader,
// the arrays, the driver and the solver goes through here; nothing in the
// library ends the process.
[[noreturn]] void fatal(const std::string &message);

// The solver's capacity messages: fatal(message).
[[noreturn]] void AfxMessageBox(const char *message);

// fatal("out of memory\n"): an allocation failed.
[[noreturn]] void out_of_memory();

// Runs f and returns what it returns; an allocation that throws
// std::bad_alloc on the way ends as out_of_memory().
template <class F> auto with_memory_guard(F f) -> decltype(f()) {
    try {
        return f();
    } catch (const std::bad_alloc &) {
        out_of_memory();
    }
}

// Appends the NUL-terminated p to s.
void string_add(std::string &s, const char *p);

} // namespace vetrix
