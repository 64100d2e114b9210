#include "support/uponeub.h"

#include "vetrix/vetrix.h"

void Uponeub_sh1(int *a, int n) {
    for (int gap = n / 2; gap > 0; gap /= 2)
        for (int i = gap; i < n; ++i)
            for (int j = i - gap; j >= 0 && a[j] > a[j + gap]; j -= gap) {
                int t = a[j];
                a[j] = a[j + gap];
                a[j + gap] = t;
            }
}

void fatal(const std::string &message) { throw vetrix::Error(message, 1); }

void AfxMessageBox(const char *message) { fatal(message); }

void out_of_memory() { fatal("out of memory\n"); }

void string_add(std::string &s, const char *p) { s.append(p); }
