#include "tools/lrat_check.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace lratcheck {

namespace {

// ---------------------------------------------------------------- reading

// One step of the proof: an addition (its ID, literals and hints) or a
// deletion (the IDs it deletes, in hints).
struct Step {
    bool deletion = false;
    std::int64_t id = 0;
    Clause lits;
    std::vector<std::int64_t> hints;
    std::size_t where = 0; // line (text) or byte offset (binary)
};

class ProofReader {
  public:
    // The text's closing NUL ends every scan of it.
    ProofReader(const std::string &proof, bool binary)
        : begin_(proof.c_str()), at_(begin_), end_(begin_ + proof.size()), binary_(binary) {}

    // Reads the next step; false at the end or on an error (error set).
    bool next(Step &step, std::string &error) {
        step.lits.clear();
        step.hints.clear();
        return binary_ ? next_binary(step, error) : next_text(step, error);
    }

  private:
    bool fail(std::string &error, const std::string &what) {
        error = (binary_ ? "byte " + std::to_string(at_ - begin_) : "line " + std::to_string(line_)) + ": " + what;
        return false;
    }

    // ---- text: whitespace-separated numbers, 'd', and comment lines ----

    static bool is_blank(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }

    // Skips blanks, line ends and comment lines ('c' first on its line).
    void skip_space() {
        for (;;) {
            for (; is_blank(*at_); ++at_)
                if (*at_ == '\n') {
                    ++line_;
                    line_start_ = true;
                }
            if (!line_start_ || *at_ != 'c')
                return;
            while (at_ < end_ && *at_ != '\n')
                ++at_;
        }
    }

    // A signed decimal number of at most 18 digits.
    bool number(std::int64_t &value, std::string &error) {
        skip_space();
        line_start_ = false;
        if (at_ >= end_)
            return fail(error, "the step has no closing 0");
        const bool negative = *at_ == '-';
        at_ += negative;
        const char *first = at_;
        std::int64_t v = 0;
        for (unsigned digit; (digit = static_cast<unsigned char>(*at_) - unsigned('0')) < 10 && at_ - first < 19; ++at_)
            v = 10 * v + digit;
        if (at_ == first || at_ - first > 18 || !(is_blank(*at_) || at_ == end_))
            return fail(error, "not a number where one is due");
        value = negative ? -v : v;
        return true;
    }

    // Numbers up to the closing 0 into out.
    template <class Out> bool numbers(Out &out, std::string &error) {
        for (std::int64_t v = 0; number(v, error);) {
            if (v == 0)
                return true;
            out.push_back(static_cast<typename Out::value_type>(v));
        }
        return false;
    }

    bool literals(Clause &lits, std::string &error) {
        for (std::int64_t v = 0; number(v, error);) {
            if (v == 0)
                return true;
            if (v > INT32_MAX || v < -INT32_MAX)
                return fail(error, "literal out of range");
            lits.push_back(static_cast<int>(v));
        }
        return false;
    }

    bool next_text(Step &step, std::string &error) {
        skip_space();
        if (at_ >= end_)
            return false;
        step.where = line_;
        if (!number(step.id, error))
            return false;
        skip_space();
        step.deletion = at_ < end_ && *at_ == 'd';
        if (step.deletion) {
            ++at_;
            return numbers(step.hints, error);
        }
        return literals(step.lits, error) && numbers(step.hints, error);
    }

    // ---- binary: 'a' or 'd', then numbers 2|x| + (x < 0) in 7-bit groups ----

    bool varint(std::int64_t &value, std::string &error) {
        std::uint64_t v = 0;
        for (int shift = 0;; shift += 7) {
            if (at_ >= end_ || shift > 56)
                return fail(error, "step cut short or number too large");
            const unsigned char byte = static_cast<unsigned char>(*at_++);
            v |= static_cast<std::uint64_t>(byte & 127) << shift;
            if ((byte & 128) == 0)
                break;
        }
        const std::int64_t magnitude = static_cast<std::int64_t>(v >> 1);
        value = (v & 1) ? -magnitude : magnitude;
        return true;
    }

    template <class Out> bool varints(Out &out, std::string &error) {
        for (std::int64_t v = 0; varint(v, error);) {
            if (v == 0)
                return true;
            out.push_back(static_cast<typename Out::value_type>(v));
        }
        return false;
    }

    bool next_binary(Step &step, std::string &error) {
        if (at_ >= end_)
            return false;
        step.where = static_cast<std::size_t>(at_ - begin_);
        const char kind = *at_++;
        if (kind == 'd') {
            step.deletion = true;
            return varints(step.hints, error);
        }
        if (kind != 'a')
            return fail(error, "step is neither 'a' nor 'd'");
        step.deletion = false;
        if (!varint(step.id, error))
            return false;
        for (std::int64_t v = 0; varint(v, error);) {
            if (v == 0)
                return varints(step.hints, error);
            if (v > INT32_MAX || v < -INT32_MAX)
                return fail(error, "literal out of range");
            step.lits.push_back(static_cast<int>(v));
        }
        return false;
    }

    const char *begin_;
    const char *at_;
    const char *end_;
    bool binary_;
    std::size_t line_ = 1;
    bool line_start_ = true;
};

// ---------------------------------------------------------------- checking

// Literal l is stored as index 2|l| + (l < 0).
std::size_t index_of(int lit) {
    return 2 * static_cast<std::size_t>(std::abs(static_cast<long long>(lit))) + (lit < 0 ? 1 : 0);
}

class Checker {
  public:
    // Holds clause lits under the ID id.
    void hold(std::int64_t id, const Clause &lits);
    // Deletes clause id; false when it is not held.
    bool remove(std::int64_t id);
    // True when lits follows from its hints; otherwise why not in error.
    bool implied(const Clause &lits, const std::vector<std::int64_t> &hints, std::string &error);
    // The IDs [begin, end) name no clause and take no room: an incremental
    // solver's proof leaves the IDs up to a bound to input clauses and gives
    // its added clauses the IDs above it.
    void skip_ids(std::int64_t begin, std::int64_t end) {
        gap_begin_ = begin;
        gap_ = end - begin;
    }

  private:
    static constexpr std::size_t NO_SLOT = static_cast<std::size_t>(-1);
    std::size_t slot(std::int64_t id) const {
        if (id < gap_begin_)
            return static_cast<std::size_t>(id);
        return id >= gap_begin_ + gap_ ? static_cast<std::size_t>(id - gap_) : NO_SLOT;
    }
    struct Held {
        std::int64_t at = -1; // offset in lits_, -1 when not held
        int size = 0;
    };

    bool held(std::int64_t id) const {
        return id > 0 && slot(id) < held_.size() && held_[slot(id)].at >= 0;
    }
    void make_room(const Clause &lits);
    void assign(int lit) {
        value_[index_of(lit)] = 1;
        value_[index_of(-lit)] = -1;
        trail_.push_back(lit);
    }
    void compact();

    std::int64_t gap_begin_ = std::numeric_limits<std::int64_t>::max(); // the IDs skipped begin here ...
    std::int64_t gap_ = 0;               // ... and are this many
    std::vector<Held> held_;          // per ID, by slot()
    std::vector<int> lits_;           // the held clauses' literals, one after the other
    std::size_t garbage_ = 0;         // literals of deleted clauses still in lits_
    std::vector<signed char> value_;  // per literal index: 1 true, -1 false, 0 free
    std::vector<int> trail_;          // the literals set in the current check
};

void Checker::make_room(const Clause &lits) {
    std::size_t need = value_.size();
    for (int lit : lits)
        need = std::max(need, index_of(lit) + 2 - (lit < 0 ? 1 : 0));
    if (need > value_.size())
        value_.resize(need + (need & 1), 0);
}

void Checker::hold(std::int64_t id, const Clause &lits) {
    make_room(lits);
    const std::size_t at = slot(id);
    if (at >= held_.size())
        held_.resize(std::max(at + 1, 2 * held_.size()));
    held_[at] = Held{static_cast<std::int64_t>(lits_.size()), static_cast<int>(lits.size())};
    lits_.insert(lits_.end(), lits.begin(), lits.end());
}

bool Checker::remove(std::int64_t id) {
    if (!held(id))
        return false;
    Held &h = held_[slot(id)];
    garbage_ += static_cast<std::size_t>(h.size);
    h.at = -1;
    if (garbage_ > (1u << 20) && 2 * garbage_ > lits_.size())
        compact();
    return true;
}

// Moves the held clauses' literals together; each ID keeps its clause.
void Checker::compact() {
    std::size_t to = 0;
    for (Held &h : held_) {
        if (h.at < 0)
            continue;
        const std::size_t from = static_cast<std::size_t>(h.at);
        for (int k = 0; k < h.size; ++k)
            lits_[to + static_cast<std::size_t>(k)] = lits_[from + static_cast<std::size_t>(k)];
        h.at = static_cast<std::int64_t>(to);
        to += static_cast<std::size_t>(h.size);
    }
    lits_.resize(to);
    garbage_ = 0;
}

bool Checker::implied(const Clause &lits, const std::vector<std::int64_t> &hints, std::string &error) {
    make_room(lits);
    bool falsified = false;
    for (int lit : lits) {
        const signed char v = value_[index_of(lit)];
        if (v == 1)
            falsified = true; // the clause holds a literal and its complement
        else if (v == 0)
            assign(-lit);
    }
    for (std::size_t k = 0; k < hints.size() && error.empty(); ++k) {
        const std::int64_t id = hints[k];
        if (falsified) {
            error = "hint " + std::to_string(id) + " follows a falsified clause";
        } else if (!held(id)) {
            error = "hint " + std::to_string(id) + " names no clause held";
        } else {
            const Held &h = held_[slot(id)];
            const int *c = lits_.data() + h.at;
            int free_lit = 0, free_count = 0;
            bool satisfied = false;
            for (int j = 0; j < h.size; ++j) {
                const signed char v = value_[index_of(c[j])];
                satisfied = satisfied || v == 1;
                if (v == 0 && c[j] != free_lit) {
                    free_lit = c[j];
                    ++free_count;
                }
            }
            if (satisfied)
                error = "hint " + std::to_string(id) + " is satisfied";
            else if (free_count > 1)
                error = "hint " + std::to_string(id) + " is not unit";
            else if (free_count == 1)
                assign(free_lit);
            else
                falsified = true;
        }
    }
    if (error.empty() && !falsified)
        error = "the hints end without a falsified clause";
    for (int lit : trail_) {
        value_[index_of(lit)] = 0;
        value_[index_of(-lit)] = 0;
    }
    trail_.clear();
    return error.empty();
}

std::string describe(const Step &step, bool binary) {
    std::string text = (binary ? "byte " : "line ") + std::to_string(step.where) + ": ";
    if (step.deletion)
        return text + "deletion";
    return text + "clause " + std::to_string(step.id);
}

// The proof begins with an 'a' or 'd' step: binary. Text begins with an ID
// or a comment.
bool looks_binary(const std::string &proof) { return !proof.empty() && (proof[0] == 'a' || proof[0] == 'd'); }

} // namespace

Verdict check_proof(const Clauses &clauses, const std::string &proof, ProofFormat format) {
    Verdict verdict;
    Checker checker;
    std::int64_t last = 0; // the largest ID so far
    for (const Clause &clause : clauses)
        checker.hold(++last, clause);
    const bool binary = format == ProofFormat::binary || (format == ProofFormat::detect && looks_binary(proof));
    ProofReader reader(proof, binary);
    Step step;
    std::string error;
    while (reader.next(step, error)) {
        if (step.deletion) {
            ++verdict.deletions;
            for (std::int64_t id : step.hints)
                if (!checker.remove(id)) {
                    verdict.error = describe(step, binary) + ": deletes " + std::to_string(id) + ", not held";
                    return verdict;
                }
            continue;
        }
        ++verdict.additions;
        verdict.hints += step.hints.size();
        if (step.id <= last) {
            verdict.error = describe(step, binary) + ": the ID is not above " + std::to_string(last);
            return verdict;
        }
        if (verdict.additions == 1 && step.id > last + 1)
            checker.skip_ids(last + 1, step.id);
        if (!checker.implied(step.lits, step.hints, error)) {
            verdict.error = describe(step, binary) + ": " + error;
            return verdict;
        }
        if (step.lits.empty()) {
            verdict.refuted = true;
            break;
        }
        checker.hold(step.id, step.lits);
        last = step.id;
    }
    if (!error.empty()) {
        verdict.error = error;
        return verdict;
    }
    verdict.valid = true;
    return verdict;
}

} // namespace lratcheck
