// Small utilities: the sort of a cube's tail, the fatal-message exit,
// string appends for the diagnostic text, and the process-exit hook.
#pragma once

#include <string>

// Sorts a[0 .. n-1] ascending in place. Integers sorted ascending have one
// order, so the method cannot change a cube's tail.
void Uponeub_sh1(int *a, int n);

// Writes the message to standard output and ends the process with status 1.
[[noreturn]] void AfxMessageBox(const char *message);

// Appends the NUL-terminated p to s.
void string_add(std::string &s, const char *p);

// Writes text to standard output through cout.
void write_message(const char *text);

// Ends the process with the status after flushing standard output. Tests and
// fuzz targets may install a hook that leaves by another road (an exception);
// the hook must not return.
[[noreturn]] void end_process(int status);
using EndProcessHook = void (*)(int status);
void set_end_process_hook(EndProcessHook hook);
