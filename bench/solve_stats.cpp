// solve_stats FILE [n]: solves FILE with strategy n (default 0) as the
// command line does, prints the verdict to standard output, and writes the
// solve's counters and its wall time to standard error, one `c name: value`
// line each. bench/throughput.sh reads them to give time per propagation and
// per watch visit.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "reader/raspok1.h"
#include "solver/base_m456.h"
#include "support/file_text.h"

namespace {

void counter(const char *name, std::uint64_t value) {
    std::fprintf(stderr, "c %s: %llu\n", name, static_cast<unsigned long long>(value));
}

void print_stats(const SolveStats &st, double seconds) {
    counter("conflicts", st.conflicts);
    counter("decisions", st.decisions);
    counter("propagations", st.propagations);
    counter("visits", st.visits);
    counter("passes", st.passes);
    counter("reviews_root", st.reviews_root);
    counter("reviews_plain", st.reviews_plain);
    counter("recipes_included", st.recipes_included);
    counter("recipes_deleted", st.recipes_deleted);
    counter("cubes_held", st.cubes_held);
    std::fprintf(stderr, "c wall_s: %.3f\n", seconds);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: solve_stats FILE [n]\n");
        return 2;
    }
    const auto t0 = std::chrono::steady_clock::now();
    std::string text;
    if (!read_file_text(argv[1], text)) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    text.push_back('\0');
    Dnf dnf;
    int nb_var = 0;
    if (!raspok_dnf(text, dnf, nb_var)) {
        std::fprintf(stderr, "something went wrong\n");
        return 1;
    }
    std::string().swap(text);
    const SolveOutcome out = solve_formula(dnf, nb_var, argc == 3 ? std::atoi(argv[2]) : 0);
    std::fwrite(out.verdict.data(), 1, out.verdict.size(), stdout);
    std::fflush(stdout);
    print_stats(out.stats, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    return 0;
}
