#include "support/uponeub.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

void Uponeub_sh1(int *a, int n) { std::sort(a, a + n); }

void write_message(const char *text) { std::cout << text; }

void AfxMessageBox(const char *message) {
    write_message(message);
    end_process(1);
}

void string_add(std::string &s, const char *p) { s.append(p); }

namespace {
EndProcessHook end_hook = nullptr;
}

void set_end_process_hook(EndProcessHook hook) { end_hook = hook; }

void end_process(int status) {
    std::cout.flush();
    std::fflush(stdout);
    if (end_hook)
        end_hook(status);
    std::exit(status);
}
