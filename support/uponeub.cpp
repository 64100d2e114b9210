#include "support/uponeub.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

void Uponeub_sh1(int *a, int n) {
    for (int gap = n / 2; gap > 0; gap /= 2)
        for (int i = gap; i < n; ++i)
            for (int j = i - gap; j >= 0 && a[j] > a[j + gap]; j -= gap) {
                int t = a[j];
                a[j] = a[j + gap];
                a[j + gap] = t;
            }
}

void write_message(const char *text) { std::cout << text; }

void AfxMessageBox(const char *message) { fatal(message); }

void fatal(const std::string &message) {
    std::cout << message;
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
