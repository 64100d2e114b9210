// vetrix [options] FILE [n]: decides a DIMACS CNF formula with branching
// strategy n. Without options the command line is exactly `vetrix FILE [n]`.
#include <chrono>
#include <cstdlib>
#include <iostream>

#include "driver/options.h"
#include "driver/run.h"
#include "driver/stats_report.h"
#include "vetrix/vetrix.h"

namespace {

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv) {
    const auto start = std::chrono::steady_clock::now();
    CommandLine line;
    std::string error;
    if (!parse_command_line(argc, argv, line, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    const RunOptions &options = line.options;
    if (options.help) {
        std::cout << help_text();
        return 0;
    }
    if (options.version) {
        std::cout << "vetrix " << vetrix::version() << "\n";
        return 0;
    }
    const std::vector<char *> &args = line.positional;
    if (args.size() > 2) {
        std::cout << "wrong number of arguments\n";
        return 1;
    }
    if (args.empty()) {
        std::cout << "vetrix file_name [n]" << "\n" << "n is equal 0,1,2" << "\n";
        return 0;
    }
    try {
        const int n = args.size() == 2 ? std::atoi(args[1]) : 0;
        check_strategy(n);
        SolveStats stats;
        OnBase_m1(args[0], n, options.stats ? &stats : nullptr);
        if (options.stats)
            write_stats(stats, seconds_since(start));
    } catch (const vetrix::Error &e) {
        // The message's bytes exactly as the library carries them.
        std::cout << e.message();
        return e.status();
    }
    return 0;
}
