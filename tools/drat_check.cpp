#include "tools/drat_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

namespace dratcheck {

namespace {

// ---------------------------------------------------------------- reading

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// A cursor over text that yields whitespace-separated tokens and skips
// comment lines (the first token of a line beginning with 'c' skips to the
// line's end).
struct Tokens {
    const std::string &text;
    std::size_t at = 0;
    std::size_t line = 1;
    bool line_start = true;

    bool next(std::string &token) {
        for (;;) {
            while (at < text.size() && is_space(text[at])) {
                if (text[at++] == '\n') {
                    ++line;
                    line_start = true;
                }
            }
            if (at >= text.size())
                return false;
            if (!line_start || text[at] != 'c')
                break;
            while (at < text.size() && text[at] != '\n')
                ++at;
        }
        line_start = false;
        const std::size_t begin = at;
        while (at < text.size() && !is_space(text[at]))
            ++at;
        token.assign(text, begin, at - begin);
        return true;
    }
};

bool to_int(const std::string &token, long long &value) {
    if (token.empty() || token.size() > 12)
        return false;
    char *end = nullptr;
    value = std::strtoll(token.c_str(), &end, 10);
    return *end == '\0';
}

bool to_literal(const std::string &token, int &lit) {
    long long value;
    if (!to_int(token, value) || value > INT32_MAX || value < -INT32_MAX)
        return false;
    lit = static_cast<int>(value);
    return true;
}

// A proof step: an addition or a deletion of a clause.
struct Step {
    bool deletion = false;
    Clause lits;
    std::size_t where = 0; // line (text) or byte offset (binary)
};

class ProofReader {
  public:
    ProofReader(const std::string &proof, bool binary) : binary_(binary), tokens_{proof} {}

    // Reads the next step; false at the end or on an error (error set).
    bool next(Step &step, std::string &error) { return binary_ ? next_binary(step, error) : next_text(step, error); }

  private:
    bool next_text(Step &step, std::string &error) {
        std::string token;
        if (!tokens_.next(token))
            return false;
        step.lits.clear();
        step.where = tokens_.line;
        step.deletion = token == "d";
        if (step.deletion && !tokens_.next(token)) {
            error = "line " + std::to_string(step.where) + ": deletion without literals";
            return false;
        }
        for (;;) {
            int lit;
            if (!to_literal(token, lit)) {
                error = "line " + std::to_string(tokens_.line) + ": '" + token + "' is not a literal";
                return false;
            }
            if (lit == 0)
                return true;
            step.lits.push_back(lit);
            if (!tokens_.next(token)) {
                error = "line " + std::to_string(tokens_.line) + ": the last clause has no closing 0";
                return false;
            }
        }
    }

    bool next_binary(Step &step, std::string &error) {
        const std::string &p = tokens_.text;
        std::size_t &at = tokens_.at;
        if (at >= p.size())
            return false;
        step.where = at;
        step.lits.clear();
        const char kind = p[at++];
        if (kind != 'a' && kind != 'd') {
            error = "byte " + std::to_string(step.where) + ": step is neither 'a' nor 'd'";
            return false;
        }
        step.deletion = kind == 'd';
        for (;;) {
            std::uint64_t value = 0;
            int shift = 0;
            for (;;) {
                if (at >= p.size() || shift > 28) {
                    error = "byte " + std::to_string(step.where) + ": step cut short or literal too large";
                    return false;
                }
                const unsigned char byte = static_cast<unsigned char>(p[at++]);
                value |= static_cast<std::uint64_t>(byte & 127) << shift;
                shift += 7;
                if ((byte & 128) == 0)
                    break;
            }
            if (value == 0)
                return true;
            if (value < 2 || value > 2ull * INT32_MAX + 1) {
                error = "byte " + std::to_string(step.where) + ": bad literal";
                return false;
            }
            const int var = static_cast<int>(value >> 1);
            step.lits.push_back((value & 1) ? -var : var);
        }
    }

    bool binary_;
    Tokens tokens_;
};

// Text DRAT is printable; binary DRAT ends every step with a 0 byte and
// writes most literals with bytes outside the printable range.
bool looks_binary(const std::string &proof) {
    const std::size_t n = std::min<std::size_t>(proof.size(), 64);
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(proof[i]);
        if ((c < 32 && !is_space(static_cast<char>(c))) || c >= 127)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- checking

// Literal l is stored as index 2|l| + (l < 0).
unsigned index_of(int lit) { return 2u * static_cast<unsigned>(std::abs(lit)) + (lit < 0 ? 1u : 0u); }

// Sorted literals without repeats: the key a deletion is matched by.
Clause normalized(Clause lits) {
    std::sort(lits.begin(), lits.end());
    lits.erase(std::unique(lits.begin(), lits.end()), lits.end());
    return lits;
}

struct ClauseHash {
    std::size_t operator()(const Clause &c) const {
        std::uint64_t h = 1469598103934665603ull;
        for (int lit : c)
            h = (h ^ static_cast<std::uint32_t>(lit)) * 1099511628211ull;
        return static_cast<std::size_t>(h);
    }
};

constexpr int NO_REASON = -1;

class Checker {
  public:
    // Adds a clause that needs no check (formula) or that has been checked.
    void add(const Clause &lits);
    // True when the clause is RUP with respect to the clauses held.
    bool implied(const Clause &lits);
    // Removes one held copy of the clause; false when none is held.
    bool remove(const Clause &lits);
    bool inconsistent() const { return inconsistent_; }
    // Records which clauses hold each literal, for shortened_original.
    void index_occurrences() { indexing_ = true; }
    // True when shorter (normalized) shortens clause: its literals, none
    // false at the root, are a strict subset of the clause's, and the
    // clause's other literals are false there.
    bool shortens(const Clause &shorter, const Clause &clause) const;
    // True when shorter (normalized), all free at the root, shortens some
    // held clause.
    bool shortens_held(const Clause &shorter) const;

  private:
    struct Held {
        Clause lits; // the watched literals are lits[0] and lits[1]
        bool live;
    };

    signed char value(int lit) const {
        const unsigned i = index_of(lit);
        return i < values_.size() ? values_[i] : 0;
    }
    void make_room(const Clause &lits);
    void assign(int lit, int reason);
    bool propagate(); // false on a conflict
    void backtrack(std::size_t size);
    void watch(int id);
    void attach(int id);
    void rebuild_root();

    std::vector<Held> held_;
    std::vector<signed char> values_;            // per literal index: 1 true, -1 false, 0 free
    std::vector<int> reason_;                    // per variable: the clause that forced it at the root
    std::vector<std::vector<int>> watches_;      // per literal index: clauses watching it
    std::vector<int> trail_;
    std::size_t propagated_ = 0;
    bool inconsistent_ = false;                  // the empty clause follows by propagation
    std::unordered_map<Clause, std::vector<int>, ClauseHash> by_key_;
    bool indexing_ = false;
    std::vector<std::vector<int>> occurs_;       // per literal index: clauses holding it, dead ones too
};

void Checker::make_room(const Clause &lits) {
    std::size_t need = values_.size();
    for (int lit : lits)
        need = std::max<std::size_t>(need, index_of(lit) + 2 - (lit < 0));
    need += need & 1;
    if (need > values_.size()) {
        values_.resize(need, 0);
        watches_.resize(need);
        reason_.resize(need / 2, NO_REASON);
    }
}

void Checker::assign(int lit, int reason) {
    values_[index_of(lit)] = 1;
    values_[index_of(-lit)] = -1;
    reason_[static_cast<std::size_t>(std::abs(lit))] = reason;
    trail_.push_back(lit);
}

void Checker::backtrack(std::size_t size) {
    while (trail_.size() > size) {
        const int lit = trail_.back();
        trail_.pop_back();
        values_[index_of(lit)] = 0;
        values_[index_of(-lit)] = 0;
    }
    propagated_ = size;
}

void Checker::watch(int id) {
    const Clause &lits = held_[static_cast<std::size_t>(id)].lits;
    watches_[index_of(lits[0])].push_back(id);
    watches_[index_of(lits[1])].push_back(id);
}

bool Checker::propagate() {
    while (propagated_ < trail_.size()) {
        const int falsified = -trail_[propagated_++];
        std::vector<int> &list = watches_[index_of(falsified)];
        std::size_t keep = 0;
        bool conflict = false;
        for (std::size_t k = 0; k < list.size(); ++k) {
            const int id = list[k];
            Held &h = held_[static_cast<std::size_t>(id)];
            if (!h.live)
                continue; // dropped from the list
            if (conflict) {
                list[keep++] = id;
                continue;
            }
            Clause &lits = h.lits;
            if (lits[0] == falsified)
                std::swap(lits[0], lits[1]);
            if (value(lits[0]) == 1) {
                list[keep++] = id;
                continue;
            }
            bool moved = false;
            for (std::size_t j = 2; j < lits.size(); ++j) {
                if (value(lits[j]) != -1) {
                    std::swap(lits[1], lits[j]);
                    watches_[index_of(lits[1])].push_back(id);
                    moved = true;
                    break;
                }
            }
            if (moved)
                continue;
            list[keep++] = id;
            if (value(lits[0]) == -1)
                conflict = true;
            else
                assign(lits[0], id);
        }
        list.resize(keep);
        if (conflict)
            return false;
    }
    return true;
}

// Puts a new clause in place at the root: its non-false literals first, the
// watches on the first two, and propagates when it is unit.
void Checker::attach(int id) {
    Clause &lits = held_[static_cast<std::size_t>(id)].lits;
    if (lits.empty()) {
        inconsistent_ = true;
        return;
    }
    std::stable_partition(lits.begin(), lits.end(), [&](int lit) { return value(lit) != -1; });
    if (lits.size() >= 2)
        watch(id);
    const signed char first = value(lits[0]);
    const bool unit = lits.size() == 1 || value(lits[1]) == -1;
    if (first == -1) {
        inconsistent_ = true;
    } else if (unit && first == 0) {
        assign(lits[0], id);
        if (!propagate())
            inconsistent_ = true;
    } else if (lits.size() == 1) {
        // Already true: from now on this unit holds the fact, so deleting
        // the clause that first forced it takes nothing away.
        reason_[static_cast<std::size_t>(std::abs(lits[0]))] = id;
    }
}

void Checker::add(const Clause &lits) {
    Clause key = normalized(lits);
    make_room(key);
    const int id = static_cast<int>(held_.size());
    held_.push_back(Held{key, true});
    by_key_[key].push_back(id);
    if (indexing_) {
        occurs_.resize(values_.size());
        for (int lit : key)
            occurs_[index_of(lit)].push_back(id);
    }
    if (!inconsistent_)
        attach(id);
}

bool Checker::implied(const Clause &lits) {
    if (inconsistent_)
        return true;
    make_room(lits);
    const std::size_t root = trail_.size();
    bool conflict = false;
    for (int lit : lits) {
        const signed char v = value(lit);
        if (v == 1) {
            conflict = true; // its negation contradicts what holds
            break;
        }
        if (v == 0)
            assign(-lit, NO_REASON);
    }
    if (!conflict)
        conflict = !propagate();
    backtrack(root);
    return conflict;
}

bool Checker::remove(const Clause &lits) {
    const Clause key = normalized(lits);
    auto found = by_key_.find(key);
    if (found == by_key_.end() || found->second.empty())
        return false;
    const int id = found->second.back();
    found->second.pop_back();
    if (found->second.empty())
        by_key_.erase(found);
    Held &h = held_[static_cast<std::size_t>(id)];
    h.live = false;
    bool was_reason = false;
    for (int lit : h.lits)
        was_reason = was_reason || (value(lit) == 1 && reason_[static_cast<std::size_t>(std::abs(lit))] == id);
    if (was_reason)
        rebuild_root();
    return true;
}

bool Checker::shortens(const Clause &shorter, const Clause &clause) const {
    if (shorter.empty() || clause.size() <= shorter.size())
        return false;
    const Clause sorted = normalized(clause); // the watches reorder held clauses
    return std::includes(sorted.begin(), sorted.end(), shorter.begin(), shorter.end()) &&
           std::all_of(sorted.begin(), sorted.end(), [&](int lit) {
               return std::binary_search(shorter.begin(), shorter.end(), lit) == (value(lit) != -1);
           });
}

bool Checker::shortens_held(const Clause &shorter) const {
    if (shorter.empty() || inconsistent_)
        return false;
    const std::vector<int> *fewest = nullptr;
    for (int lit : shorter) {
        const unsigned i = index_of(lit);
        if (i >= occurs_.size() || value(lit) != 0)
            return false;
        if (!fewest || occurs_[i].size() < fewest->size())
            fewest = &occurs_[i];
    }
    return std::any_of(fewest->begin(), fewest->end(), [&](int id) {
        const Held &h = held_[static_cast<std::size_t>(id)];
        return h.live && shortens(shorter, h.lits);
    });
}

// A fact at the root lost the clause that forced it: derive the root
// assignment again from the clauses held.
void Checker::rebuild_root() {
    backtrack(0);
    inconsistent_ = false;
    for (std::vector<int> &list : watches_)
        list.clear();
    for (std::size_t id = 0; id < held_.size(); ++id) {
        const Held &h = held_[id];
        if (!h.live)
            continue;
        if (h.lits.empty())
            inconsistent_ = true;
        else if (h.lits.size() >= 2)
            watch(static_cast<int>(id));
    }
    for (std::size_t id = 0; id < held_.size() && !inconsistent_; ++id) {
        const Held &h = held_[id];
        if (!h.live || h.lits.size() != 1)
            continue;
        const signed char v = value(h.lits[0]);
        if (v == -1)
            inconsistent_ = true;
        else if (v == 0)
            assign(h.lits[0], static_cast<int>(id));
    }
    if (!inconsistent_ && !propagate())
        inconsistent_ = true;
}

std::string describe(const Step &step, bool binary) {
    std::string text = (binary ? "byte " : "line ") + std::to_string(step.where) + ": ";
    text += step.deletion ? "d" : "";
    for (int lit : step.lits)
        text += (text.back() == ' ' ? "" : " ") + std::to_string(lit);
    return text + " 0";
}

} // namespace

bool read_dimacs(const std::string &text, Clauses &clauses, std::string &error) {
    Tokens tokens{text};
    std::string token, format, vars, count;
    if (!tokens.next(token) || token != "p" || !tokens.next(format) || !tokens.next(vars) ||
        !tokens.next(count)) {
        error = "no 'p cnf VARS CLAUSES' line";
        return false;
    }
    long long nb_clauses;
    if (!to_int(count, nb_clauses) || nb_clauses < 0) {
        error = "bad clause count '" + count + "'";
        return false;
    }
    clauses.clear();
    Clause clause;
    while (static_cast<long long>(clauses.size()) < nb_clauses && tokens.next(token)) {
        int lit;
        if (!to_literal(token, lit)) {
            error = "line " + std::to_string(tokens.line) + ": '" + token + "' is not a literal";
            return false;
        }
        if (lit == 0) {
            clauses.push_back(clause);
            clause.clear();
        } else {
            clause.push_back(lit);
        }
    }
    if (static_cast<long long>(clauses.size()) != nb_clauses) {
        error = "fewer clauses than the problem line announces";
        return false;
    }
    return true;
}

Verdict check_proof(const Clauses &clauses, const std::string &proof, ProofFormat format,
                    bool check_shortening) {
    Verdict verdict;
    Checker checker;
    if (check_shortening)
        checker.index_occurrences();
    for (const Clause &clause : clauses)
        checker.add(clause);
    const bool binary = format == ProofFormat::binary || (format == ProofFormat::detect && looks_binary(proof));
    ProofReader reader(proof, binary);
    Step step;
    std::string error;
    Clause shorter;           // the last addition when it shortens a held clause
    std::string shortened_by; // that addition, empty when none is pending
    auto unkept = [&] { return shortened_by + ": shortens a held clause that the next step does not delete"; };
    while (reader.next(step, error)) {
        if (!shortened_by.empty()) {
            if (!step.deletion || !checker.shortens(shorter, step.lits)) {
                verdict.error = unkept();
                return verdict;
            }
            ++verdict.shortenings;
            shortened_by.clear();
        }
        if (step.deletion) {
            ++verdict.deletions;
            if (!checker.remove(step.lits)) {
                verdict.error = describe(step, binary) + ": deletes a clause that is not held";
                return verdict;
            }
            continue;
        }
        ++verdict.additions;
        if (!checker.implied(step.lits)) {
            verdict.error = describe(step, binary) + ": not implied by unit propagation";
            return verdict;
        }
        if (step.lits.empty()) {
            verdict.refuted = true;
            break;
        }
        if (check_shortening) {
            shorter = normalized(step.lits);
            if (checker.shortens_held(shorter))
                shortened_by = describe(step, binary);
        }
        checker.add(step.lits);
    }
    if (!error.empty()) {
        verdict.error = error;
        return verdict;
    }
    if (!shortened_by.empty()) {
        verdict.error = unkept();
        return verdict;
    }
    verdict.valid = true;
    return verdict;
}

} // namespace dratcheck
