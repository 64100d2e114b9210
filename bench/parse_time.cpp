// parse_time FILE [REPEATS]: times the phases of a vetrix run on FILE that
// come before the search: reading the input block by block into the formula
// (raspok_dnf, decompressing when the file is compressed), then the solver's
// set-up (state, node pool, cube base). Prints one line per phase with
// seconds, and MB/s of the file's text for the read (1 MB = 10^6 bytes),
// best of REPEATS runs (default 3); the read also in CPU seconds of the
// process (user and system), which a busy machine disturbs less than the
// wall time.
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <memory>

#include "reader/raspok1.h"
#include "solver/base_m456.h"
#include "support/input_file.h"

using namespace vetrix;

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double cpu_seconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Counts the bytes handed to the reader: the text's size, also when the
// file is compressed.
class CountingSource : public ByteSource {
  public:
    explicit CountingSource(ByteSource &inner) : inner_(inner) {}
    size_t read(char *buf, size_t capacity) override {
        const size_t got = inner_.read(buf, capacity);
        bytes += got;
        return got;
    }
    size_t bytes = 0;

  private:
    ByteSource &inner_;
};

} // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: parse_time FILE [REPEATS]\n");
        return 2;
    }
    const int repeats = argc == 3 ? std::atoi(argv[2]) : 3;
    double best_read = 1e30, best_setup = 1e30, best_read_cpu = 1e30;
    size_t bytes = 0;
    int nb_var = 0, nb_clauses = 0;
    for (int r = 0; r < repeats; ++r) {
        Formula formula;
        auto t0 = Clock::now();
        const double cpu0 = cpu_seconds();
        {
            InputFile input(argv[1]);
            CountingSource counted(input.text());
            if (!raspok_dnf(counted, formula, nb_var)) {
                std::fprintf(stderr, "reader: the text ended before the announced clauses\n");
                return 1;
            }
            bytes = counted.bytes;
        }
        const double t_read = seconds_since(t0);
        const double t_read_cpu = cpu_seconds() - cpu0;
        nb_clauses = formula.clause_count();
        t0 = Clock::now();
        {
            auto s = std::make_unique<CHpGN56>(formula, nb_var, 2);
            load_cube_base(formula, *s);
        }
        const double t_setup = seconds_since(t0);
        if (t_read < best_read)
            best_read = t_read;
        if (t_read_cpu < best_read_cpu)
            best_read_cpu = t_read_cpu;
        if (t_setup < best_setup)
            best_setup = t_setup;
    }
    const double mb = static_cast<double>(bytes) / 1e6;
    std::printf("file %s: %.1f MB of text, %d variables, %d clauses\n", argv[1], mb, nb_var,
                nb_clauses);
    std::printf("read\t%.3f s\t%.1f MB/s\tCPU %.3f s\t%.1f MB/s\n", best_read, mb / best_read, best_read_cpu,
                mb / best_read_cpu);
    std::printf("set-up\t%.3f s\n", best_setup);
    return 0;
}
