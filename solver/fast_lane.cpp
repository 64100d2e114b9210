#include "solver/fast_lane.h"

#include <algorithm>
#include <exception>
#include <ostream>
#include <streambuf>
#include <utility>

#include "solver/fast/fast.h"
#include "solver/lrat.h"
#include "solver/proof.h"
#include "support/literal.h"
#include "support/peak_memory.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

using Clock = SolveControl::Clock;

constexpr std::int64_t PROGRESS_PERIOD = 256; // conflicts between two looks at the clock
constexpr Clock::duration PROGRESS_GAP = std::chrono::milliseconds(100); // at least this between reports
constexpr int RELEASE_STEP = 1 << 16; // clauses taken in between two releases of a consumed formula's storage

// The stream the engine writes its proof to: it hands every byte on to the
// stream of the call's proof, or drops it between calls, so that the engine
// never writes to a stream its caller has closed.
class ProofRelay : public std::streambuf {
  public:
    std::ostream *target = nullptr;

  protected:
    std::streamsize xsputn(const char *s, std::streamsize n) override {
        if (target)
            target->write(s, n);
        return n;
    }
    int_type overflow(int_type c) override {
        if (target && c != traits_type::eof())
            target->put(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    int sync() override {
        if (target)
            target->flush();
        return 0;
    }
};

// The per-call budget a total limit leaves once done is spent; -1: none.
std::int64_t budget(std::uint64_t limit, std::uint64_t done) {
    if (limit == SolveControl::NO_LIMIT)
        return -1;
    return limit > done ? static_cast<std::int64_t>(limit - done) : 0;
}

// The engine's counters as the solver layer names them.
Statistics counters_of(const fast::Engine &engine) {
    const fast::Stats &s = engine.stats();
    const fast::Progress held = engine.progress();
    Statistics c;
    c.conflicts = static_cast<std::uint64_t>(s.conflicts);
    c.decisions = static_cast<std::uint64_t>(s.decisions);
    c.propagations = static_cast<std::uint64_t>(s.propagations);
    c.visits = static_cast<std::uint64_t>(s.watch_visits);
    c.passes = static_cast<std::uint64_t>(s.restarts);
    c.reviews_plain = static_cast<std::uint64_t>(s.reductions);
    c.cubes_held = static_cast<std::uint64_t>(held.irredundant + held.redundant);
    return c;
}

} // namespace

struct FastLane::Impl {
    ProofRelay relay; // outlives the engine, which flushes into it when destroyed
    std::ostream relay_stream{&relay};
    fast::Engine engine;
    bool proof_set = false;
    ClauseId input_ids = LRAT_INPUT_IDS; // the IDs the input clauses can take
    ClauseId lines = 0;                  // clause lines of the batches so far
    const SolveControl *control = nullptr; // of the call under way
    std::exception_ptr failure;             // a callback's exception, thrown again after the call
    Clock::time_point told;                 // the last progress report

    void attach(const SolveControl &call);
    void load(const Formula &batch, int nb_var, Formula *consumed);
    vetrix::Progress progress_now() const;
    // Runs f, keeping its exception for the end of the call (which the
    // engine's terminate poll then asks for).
    template <class F> void guarded(F f) {
        if (failure)
            return;
        try {
            f();
        } catch (...) {
            failure = std::current_exception();
        }
    }
};

void FastLane::Impl::attach(const SolveControl &call) {
    control = &call;
    told = call.start;
    if (call.proof) {
        // The clauses taken without an LRAT proof have no IDs to name.
        if (!proof_set && call.proof->lrat() && engine.stats().solves > 0)
            fatal("vetrix: an LRAT proof of the fast engine must begin before its first call\n");
        relay.target = &call.proof->stream();
        if (!proof_set)
            engine.set_proof(relay_stream, call.proof->binary(), call.proof->lrat(), input_ids);
        proof_set = true;
    }
    engine.set_terminate([this] {
        bool stop = false;
        guarded([&] { stop = stop_requested(*control); });
        return stop || failure;
    });
    if (call.learn)
        engine.set_learn(call.learn_max_size, [this](const int *lits, int size) {
            guarded([&] { (*control->learn)(std::vector<int>(lits, lits + size)); });
        });
    else
        engine.set_learn(0, nullptr);
    if (call.progress)
        engine.set_progress(PROGRESS_PERIOD, [this](const fast::Progress &) {
            const Clock::time_point now = Clock::now();
            if (now - told < PROGRESS_GAP)
                return;
            told = now;
            guarded([&] { (*control->progress)(progress_now()); });
        });
    else
        engine.set_progress(0, nullptr);
}

// The batch's clauses hold literal codes; the engine takes DIMACS literals.
// Clause line k of the batch has the ID lines + k of every clause added. A
// unit clause of line 0 is one of an earlier batch that the batch's unit
// clause of the complement met (the formula keeps just the two): the engine
// holds it already. When consumed is the batch, its storage goes back as
// the engine takes its clauses.
void FastLane::Impl::load(const Formula &batch, int nb_var, Formula *consumed) {
    engine.reserve(nb_var);
    const int count = batch.clause_count();
    if (count > 0)
        engine.reserve_clauses(count, batch.clause_end(count - 1) - batch.clause_begin(0));
    for (int i = 0; i < batch.clause_count(); ++i) {
        const int line = batch.clause_line(i);
        if (line != 0) {
            engine.set_clause_id(lines + line);
            for (const int *c = batch.clause_begin(i); c != batch.clause_end(i); ++c)
                engine.add(code_to_dimacs(*c));
            engine.add(0);
        }
        if (consumed && i % RELEASE_STEP == RELEASE_STEP - 1)
            consumed->release_before(i + 1);
    }
    if (batch.has_empty_clause()) {
        engine.set_clause_id(lines + batch.empty_clause_line());
        engine.add(0);
    }
    lines += batch.clause_lines();
    if (consumed)
        consumed->clear();
}

vetrix::Progress FastLane::Impl::progress_now() const {
    const Statistics s = counters_of(engine);
    const fast::Progress now = engine.progress();
    vetrix::Progress p;
    p.seconds = std::chrono::duration<double>(Clock::now() - control->start).count();
    p.passes = s.passes;
    p.conflicts = s.conflicts;
    p.decisions = s.decisions;
    p.propagations = s.propagations;
    p.learnt_held = static_cast<std::uint64_t>(now.redundant);
    p.fixed = static_cast<std::uint64_t>(now.fixed);
    p.reviews = s.reviews_plain;
    p.peak_memory_mb = peak_rss_mb();
    return p;
}

FastLane::FastLane() : impl_(std::make_unique<Impl>()) {}
FastLane::~FastLane() = default;

void FastLane::set_input_ids(long long inputs) { impl_->input_ids = inputs; }

Verdict FastLane::solve(const Formula &batch, int nb_var, const std::vector<int> &assumed,
                        const SolveControl &control, std::vector<int> &model, std::vector<int> &failed,
                        Formula *consumed) {
    Impl &in = *impl_;
    in.attach(control);
    in.load(batch, nb_var, consumed);
    for (int lit : assumed)
        in.engine.assume(lit);
    fast::Limits limits;
    limits.conflicts = budget(control.conflict_limit, stats_.conflicts);
    limits.decisions = budget(control.decision_limit, stats_.decisions);
    limits.propagations = budget(control.propagation_limit, stats_.propagations);
    const int answer = in.engine.solve(limits);
    in.engine.flush_proof();
    in.relay.target = nullptr;
    stats_ = counters_of(in.engine);
    if (control.progress && !in.failure) {
        vetrix::Progress p = in.progress_now();
        p.last = true;
        in.guarded([&] { (*control.progress)(p); });
    }
    in.control = nullptr;
    if (in.failure)
        std::rethrow_exception(std::exchange(in.failure, nullptr));
    if (answer == 10) {
        const int vars = std::max(nb_var, in.engine.variables());
        for (int v = 1; v <= vars; ++v)
            model.push_back(in.engine.value(v));
        return Verdict::satisfiable;
    }
    if (answer != 20)
        return Verdict::unknown;
    for (int lit : assumed)
        if (in.engine.failed(lit) && std::find(failed.begin(), failed.end(), lit) == failed.end())
            failed.push_back(lit);
    return Verdict::unsatisfiable;
}

bool FastLane::propagate(const Formula &batch, int nb_var, const std::vector<int> &assumed,
                         const SolveControl &control, std::vector<int> &set) {
    Impl &in = *impl_;
    in.attach(control);
    in.load(batch, nb_var, nullptr);
    const bool consistent = in.engine.propagate(assumed.data(), assumed.size(), set);
    in.engine.flush_proof();
    in.relay.target = nullptr;
    in.control = nullptr;
    stats_ = counters_of(in.engine);
    return consistent;
}

int FastLane::variables() const { return impl_->engine.variables(); }

namespace {

SolveOutcome solve_alone(const Formula &formula, int nb_var, const SolveControl *control, Formula *consumed) {
    const SolveControl none;
    FastLane lane;
    lane.set_input_ids(formula.clause_lines());
    SolveOutcome outcome;
    std::vector<int> failed;
    outcome.verdict = lane.solve(formula, nb_var, {}, control ? *control : none, outcome.model, failed, consumed);
    outcome.stats = lane.stats();
    return outcome;
}

} // namespace

SolveOutcome solve_fast(const Formula &formula, int nb_var, const SolveControl *control) {
    return solve_alone(formula, nb_var, control, nullptr);
}

SolveOutcome solve_fast(Formula &formula, int nb_var, const SolveControl *control) {
    return solve_alone(formula, nb_var, control, &formula);
}

} // namespace vetrix
