// A file decided and its answer printed, as the command line runs it: the
// one solve of a file (or its calls, p inccnf) or the race of strategies.
#include "vetrix/file_run.h"

#include <memory>
#include <optional>

#include "api/lane_proofs.h"
#include "api/portfolio.h"
#include "api/run.h"
#include "api/settings.h"
#include "solver/proof.h"
#include "support/answer_lines.h"
#include "support/file_buffer.h"
#include "support/peak_memory.h"

namespace vetrix {

namespace {

SolveControl control_of_run(const FileRun &run) {
    SolveControl control = control_of(run.options, run.start);
    if (run.options.progress)
        control.progress = &run.options.progress;
    return control;
}

// The proof of a single run: on the caller's stream or on standard output.
struct RunProof {
    std::optional<FileBuffer> stdout_buffer;
    std::optional<std::ostream> stdout_stream;
    std::unique_ptr<ProofWriter> writer; // last: it flushes into the stream when destroyed
};

FileAnswer print_one(const std::string &path, const FileRun &run) {
    RunProof proof;
    std::ostream *out = run.options.proof;
    if (run.proof_to_stdout) {
        proof.stdout_buffer.emplace(stdout);
        out = &proof.stdout_stream.emplace(&*proof.stdout_buffer);
    }
    SolveControl control = control_of_run(run);
    if (out)
        control.proof = (proof.writer = make_proof_writer(*out, run.options.binary_proof, run.options.lrat)).get();
    FileAnswer answer;
    OnBase_m1(path.c_str(), run.options.strategy, &answer.stats, &control);
    if (proof.writer) {
        proof.writer->flush();
        answer.proof_failed = run.proof_to_stdout && proof.writer->failed();
    }
    return answer;
}

FileAnswer print_race(const std::string &path, const FileRun &run) {
    // Every writer outlives the race, which waits for each strategy that
    // writes a proof.
    std::vector<std::unique_ptr<ProofWriter>> proofs;
    std::vector<RaceEntrant> entrants;
    for (std::size_t k = 0; k < run.options.strategies.size(); ++k) {
        if (k < run.race_proofs.size())
            proofs.push_back(make_proof_writer(*run.race_proofs[k], run.options.binary_proof, run.options.lrat));
        entrants.push_back(RaceEntrant{run.options.strategies[k], proofs.empty() ? nullptr : proofs.back().get()});
    }
    RaceResult race = race_file(path.c_str(), entrants, control_of_run(run), run.wait_for_all);
    write_answer(answer_lines(race.outcome.verdict, race.outcome.model));
    FileAnswer answer;
    answer.stats = race.outcome.stats;
    answer.decided = race.decided;
    answer.reported = race.winner;
    answer.conflicts = std::move(race.conflicts);
    answer.cpu_seconds = std::move(race.cpu_seconds);
    return answer;
}

} // namespace

struct RaceProofFiles::Impl {
    LaneProofs lanes;
};

RaceProofFiles::RaceProofFiles() : impl_(std::make_unique<Impl>()) {}
RaceProofFiles::~RaceProofFiles() = default;

bool RaceProofFiles::open(const std::string &name, std::size_t count, std::string &error) {
    return impl_->lanes.create_beside(name, count, error);
}

bool RaceProofFiles::is_open() const { return !impl_->lanes.empty(); }

std::vector<std::ostream *> RaceProofFiles::streams() {
    std::vector<std::ostream *> out;
    for (std::size_t k = 0; k < impl_->lanes.size(); ++k)
        out.push_back(&impl_->lanes.stream(k));
    return out;
}

bool RaceProofFiles::keep(std::size_t k, std::string &error) { return impl_->lanes.keep(k, error); }

void require_strategy(int n, int last) { check_strategy(n, last); }

FileAnswer print_file_answer(const std::string &path, const FileRun &run) {
    return run.options.strategies.empty() ? print_one(path, run) : print_race(path, run);
}

double peak_memory_mb() { return peak_rss_mb(); }

} // namespace vetrix
