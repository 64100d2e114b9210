// parse_time FILE [REPEATS]: times the phases of a vetrix run on FILE that
// come before the search: loading the bytes and reading them into the
// formula (raspok_dnf). Prints one line per phase with seconds and MB/s
// (1 MB = 10^6 bytes), best of REPEATS runs (default 3).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "reader/raspok1.h"
#include "support/file_text.h"
#include "support/my_carray.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// The same bulk read the driver does: whole file, then the NUL the reader needs.
bool load(const char *name, std::string &text) {
    if (!read_file_text(name, text))
        return false;
    text.push_back('\0');
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: parse_time FILE [REPEATS]\n");
        return 2;
    }
    const int repeats = argc == 3 ? std::atoi(argv[2]) : 3;
    double best_load = 1e30, best_read = 1e30;
    size_t bytes = 0;
    int nb_var = 0, nb_clauses = 0;
    long long nb_literals = 0;
    for (int r = 0; r < repeats; ++r) {
        std::string text;
        auto t0 = Clock::now();
        if (!load(argv[1], text)) {
            std::fprintf(stderr, "cannot open %s\n", argv[1]);
            return 1;
        }
        const double t_load = seconds_since(t0);
        bytes = text.size() - 1;
        Dnf dnf;
        t0 = Clock::now();
        const bool ok = raspok_dnf(text, dnf, nb_var);
        const double t_read = seconds_since(t0);
        if (!ok) {
            std::fprintf(stderr, "reader: the text ended before the announced clauses\n");
            return 1;
        }
        nb_clauses = dnf.size;
        nb_literals = 0;
        for (int i = 0; i < dnf.size; ++i)
            nb_literals += dnf[i].size;
        if (t_load < best_load)
            best_load = t_load;
        if (t_read < best_read)
            best_read = t_read;
    }
    const double mb = static_cast<double>(bytes) / 1e6;
    std::printf("file %s: %.1f MB, %d variables, %d clauses, %lld literals\n", argv[1], mb, nb_var,
                nb_clauses, nb_literals);
    std::printf("load\t%.3f s\t%.1f MB/s\n", best_load, mb / best_load);
    std::printf("read\t%.3f s\t%.1f MB/s\n", best_read, mb / best_read);
    std::printf("load+read\t%.3f s\t%.1f MB/s\n", best_load + best_read, mb / (best_load + best_read));
    return 0;
}
