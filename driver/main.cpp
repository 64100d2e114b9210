// vetrix [options] FILE [n]: decides a DIMACS CNF formula with branching
// strategy n. Without options the command line is exactly `vetrix FILE [n]`.
#include <chrono>
#include <cstdlib>
#include <cstdio>

#include "driver/options.h"
#include "driver/portfolio_report.h"
#include "driver/progress_lines.h"
#include "driver/proof_file.h"
#include "driver/signals.h"
#include "driver/stats_report.h"
#include "vetrix/file_run.h"
#include "vetrix/strategy.h"
#include "vetrix/vetrix.h"

namespace vetrix {

namespace {

// More than two positional arguments (the file name and the strategy) fail
// like every fatal message, through the catch at the end of main.
void check_argument_count(size_t count) {
    if (count > 2)
        throw Error("wrong number of arguments\n");
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The run the options ask for: strategy n, the stop conditions, the proof
// output (a stream per strategy in a race) and the progress lines.
FileRun make_run(const RunOptions &options, int n, std::chrono::steady_clock::time_point start, ProofFile &proof,
                 RaceProofFiles &race_proofs) {
    FileRun run;
    run.options = options.solve;
    run.options.strategy = n;
    run.options.proof = proof.stream();
    run.proof_to_stdout = proof.to_stdout();
    run.options.stop = &stop_signal_flag();
    if (options.verbose)
        run.options.progress = progress_lines();
    run.start = start;
    run.race_proofs = race_proofs.streams();
    run.wait_for_all = options.stats;
    return run;
}

// The failures that go to standard error (options, the proof file): the
// message on its line, status 1. The others leave through fatal() and the
// catch at the end of main.
int failed(const std::string &error) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
}

} // namespace

} // namespace vetrix

using namespace vetrix; // main is the command line's one name outside the namespace

int main(int argc, char **argv) {
    const auto start = std::chrono::steady_clock::now();
    CommandLine line;
    std::string error;
    if (!parse_command_line(argc, argv, line, error))
        return failed(error);
    const RunOptions &options = line.options;
    if (options.help) {
        std::fputs(help_text().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("vetrix %s\n", vetrix::version());
        return 0;
    }
    const std::vector<char *> &args = line.positional;
    try {
        check_argument_count(args.size());
        if (args.empty()) {
            std::fputs("vetrix file_name [n]\nn is equal 0,1,2\n", stdout);
            return 0;
        }
        const int n = args.size() == 2 ? std::atoi(args[1]) : options.solve.strategy;
        require_strategy(n, args.size() == 2 ? LAST_SPECIFIED_STRATEGY : FAST_STRATEGY);
        ProofFile proof;
        if (!options.proof.empty() && !proof.open(options.proof, args[0], error))
            return failed(error);
        // With --portfolio each strategy's proof goes to a file of its own first.
        RaceProofFiles race_proofs;
        const std::vector<int> &strategies = options.solve.strategies;
        if (!options.proof.empty() && !strategies.empty() &&
            !race_proofs.open(options.proof, strategies.size(), error))
            return failed(error);
        catch_stop_signals();
        const FileAnswer answer = print_file_answer(args[0], make_run(options, n, start, proof, race_proofs));
        std::string race_error;
        if (!strategies.empty())
            report_portfolio(strategies, answer, options.stats, race_proofs, race_error);
        if (options.stats)
            write_stats(answer.stats, seconds_since(start));
        int status = proof.close(answer.proof_failed, error) ? 0 : failed(error);
        if (!race_error.empty())
            status = failed(race_error);
        end_by_caught_signal();
        return status;
    } catch (const vetrix::Error &e) {
        // Every fatal() of the reader, the driver and the solver ends here:
        // the message's bytes exactly as the library carries them, on
        // standard output.
        const std::string message = e.message();
        std::fwrite(message.data(), 1, message.size(), stdout);
        return e.status();
    }
}
