#include "tools/call_fuzz.h"

#include <ccadical.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>

#include <vetrix/ipasir.h>
#include <vetrix/solver.h>
#include <vetrix/vetrix_c.h>

namespace callfuzz {

Choices::Choices(const uint8_t *data, size_t size) : data_(data), size_(size), state_(size) {
    for (size_t k = 0; k < size; ++k)
        state_ = (state_ ^ data[k]) * 1099511628211ULL; // FNV-1a
}

int Choices::below(int n) {
    if (at_ < size_)
        return data_[at_++] % n;
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state_ >> 33) % static_cast<uint64_t>(n));
}

namespace {

int signed_var(Choices &c, int nb_var) { return (1 + c.below(nb_var)) * (c.percent(50) ? 1 : -1); }

// Mostly three literals; short ones (and, rarely, the empty clause) only
// among the clauses added between calls.
Clause random_clause(Choices &c, int nb_var, bool between_calls) {
    static const int lengths[] = {3, 3, 3, 3, 4, 5, 2, 2, 1};
    Clause clause;
    if (between_calls && c.below(500) == 0)
        return clause;
    for (int k = lengths[c.below(between_calls ? 9 : 6)]; k > 0; --k)
        clause.push_back(signed_var(c, nb_var));
    return clause;
}

// 0 to 12 assumptions, some beyond every clause's variables, some repeated
// and some the complement of one before.
std::vector<int> random_assumptions(Choices &c, int nb_var) {
    std::vector<int> assumed;
    for (int k = c.below(c.percent(70) ? 5 : 13); k > 0; --k) {
        if (!assumed.empty() && c.percent(15)) {
            const int before = assumed[static_cast<size_t>(c.below(static_cast<int>(assumed.size())))];
            assumed.push_back(c.percent(50) ? before : -before);
        } else {
            assumed.push_back(signed_var(c, nb_var + 2));
        }
    }
    return assumed;
}

} // namespace

Sequence random_sequence(Choices &c) {
    Sequence s;
    s.ipasir = c.percent(50);
    s.strategy = c.below(4); // 3: the fast engine
    s.warm = c.percent(50);
    s.settings_first = c.percent(50);
    s.learn_max = c.percent(50) ? 1 + c.below(8) : 0;
    int nb_var = 3 + c.below(c.percent(80) ? 15 : 40);
    const int calls = 2 + c.below(24);
    for (int k = 0; k < calls; ++k) {
        Call call;
        int added = k == 0 ? nb_var * (1 + c.below(4)) : c.below(5);
        if (k > 0 && c.percent(20))
            nb_var += 1 + c.below(3); // new variables
        for (; added > 0; --added)
            call.added.push_back(random_clause(c, nb_var, k > 0));
        call.assumed = random_assumptions(c, nb_var);
        if (!s.ipasir && c.percent(10))
            call.conflict_limit = 1 + c.below(20);
        if (!s.ipasir && c.percent(10))
            call.decision_limit = 1 + c.below(20);
        if (c.percent(10))
            call.terminate_after = c.below(30);
        s.calls.push_back(call);
    }
    return s;
}

namespace {

// vetrix through one of its faces.
class Face {
  public:
    virtual ~Face() = default;
    virtual void add(const Clause &clause) = 0;
    virtual int solve(const Call &call) = 0; // 10, 20 or 0
    virtual bool is_true(int lit) = 0;       // after 10
    virtual bool failed(int lit) = 0;        // after 20
    std::vector<Clause> learnt;              // by the last call, at most learn_max long
    int polls_left = -1;                     // of the terminate callback; -1: none set

  protected:
    bool stop_now() { return polls_left >= 0 && polls_left-- == 0; }
    void heard(const int *lits, size_t size) {
        if (learnt.size() < 16)
            learnt.emplace_back(lits, lits + size);
    }
};

class SolverFace : public Face {
  public:
    explicit SolverFace(const Sequence &s) : solver_(s.strategy) {
        solver_.set_warm_start(s.warm);
        solver_.set_terminate([this] { return stop_now(); });
        if (s.learn_max > 0)
            solver_.set_learn(s.learn_max, [this](const std::vector<int> &c) { heard(c.data(), c.size()); });
    }
    void add(const Clause &clause) override { solver_.add_clause(clause); }
    int solve(const Call &call) override {
        for (int lit : call.assumed)
            solver_.assume(lit);
        if (call.conflict_limit > 0)
            solver_.limit_conflicts(call.conflict_limit);
        if (call.decision_limit > 0)
            solver_.limit_decisions(call.decision_limit);
        const vetrix::Verdict v = solver_.solve();
        return v == vetrix::Verdict::satisfiable ? 10 : v == vetrix::Verdict::unsatisfiable ? 20 : 0;
    }
    bool is_true(int lit) override { return solver_.value(lit) == lit; }
    bool failed(int lit) override { return solver_.failed(lit); }

  private:
    vetrix::Solver solver_;
};

class IpasirFace : public Face {
  public:
    explicit IpasirFace(const Sequence &s) : solver_(ipasir_init()) {
        if (!s.settings_first)
            vetrix_ipasir_set_strategy(solver_, s.strategy);
        vetrix_ipasir_set_warm_start(solver_, s.warm);
        ipasir_set_terminate(solver_, this, [](void *f) { return static_cast<IpasirFace *>(f)->stop_now() ? 1 : 0; });
        if (s.learn_max > 0)
            ipasir_set_learn(solver_, this, s.learn_max, [](void *f, int32_t *c) {
                size_t size = 0;
                while (c[size] != 0)
                    ++size;
                static_cast<IpasirFace *>(f)->heard(c, size);
            });
        if (s.settings_first)
            vetrix_ipasir_set_strategy(solver_, s.strategy);
    }
    ~IpasirFace() override { ipasir_release(solver_); }
    void add(const Clause &clause) override {
        for (int lit : clause)
            ipasir_add(solver_, lit);
        ipasir_add(solver_, 0);
    }
    int solve(const Call &call) override {
        for (int lit : call.assumed)
            ipasir_assume(solver_, lit);
        return ipasir_solve(solver_);
    }
    bool is_true(int lit) override { return ipasir_val(solver_, lit) == lit; }
    bool failed(int lit) override { return ipasir_failed(solver_, lit) != 0; }

  private:
    void *solver_;
};

// A CaDiCaL holding the clauses.
struct Cadical {
    CCaDiCaL *s = ccadical_init();
    Cadical() { ccadical_set_option(s, "quiet", 1); }
    Cadical(const Cadical &) = delete;
    Cadical &operator=(const Cadical &) = delete;
    ~Cadical() { ccadical_release(s); }
    void add(const Clause &clause) {
        for (int lit : clause)
            ccadical_add(s, lit);
        ccadical_add(s, 0);
    }
    int solve(const std::vector<int> &assumed) {
        for (int lit : assumed)
            ccadical_assume(s, lit);
        return ccadical_solve(s);
    }
};

std::string where(size_t call) { return "call " + std::to_string(call + 1) + ": "; }

bool satisfied(Face &face, const Clause &clause) {
    return std::any_of(clause.begin(), clause.end(), [&](int lit) { return face.is_true(lit); });
}

// The checks of one answered call; "" when they hold.
std::string check_answer(Face &face, int verdict, const Call &call, const std::vector<Clause> &held, Tally &tally) {
    if (verdict == 10) {
        ++tally.models;
        for (const Clause &c : held)
            if (!satisfied(face, c))
                return "the model falsifies a clause";
        for (int lit : call.assumed)
            if (!face.is_true(lit))
                return "the model falsifies the assumption " + std::to_string(lit);
        return "";
    }
    ++tally.cores;
    std::vector<int> core;
    for (int lit : call.assumed)
        if (face.failed(lit) && std::find(core.begin(), core.end(), lit) == core.end())
            core.push_back(lit);
    Cadical fresh;
    for (const Clause &c : held)
        fresh.add(c);
    return fresh.solve(core) == 20 ? "" : "the failed assumptions are not refuted by the clauses";
}

} // namespace

std::string check(const Sequence &sequence, Tally &tally) {
    std::unique_ptr<Face> face;
    if (sequence.ipasir)
        face = std::make_unique<IpasirFace>(sequence);
    else
        face = std::make_unique<SolverFace>(sequence);
    Cadical peer;
    std::vector<Clause> held;
    for (size_t k = 0; k < sequence.calls.size(); ++k) {
        const Call &call = sequence.calls[k];
        for (const Clause &c : call.added) {
            face->add(c);
            peer.add(c);
            held.push_back(c);
        }
        face->learnt.clear();
        face->polls_left = call.terminate_after;
        const int verdict = face->solve(call);
        face->polls_left = -1;
        ++tally.calls;
        const bool limited = call.conflict_limit || call.decision_limit || call.terminate_after >= 0;
        if (verdict == 0 && !limited)
            return where(k) + "unknown without a limit";
        tally.unknown += verdict == 0;
        const int expected = peer.solve(call.assumed);
        if (verdict != 0 && verdict != expected)
            return where(k) + "answers " + std::to_string(verdict) + ", CaDiCaL " + std::to_string(expected);
        const std::string fault = verdict == 0 ? "" : check_answer(*face, verdict, call, held, tally);
        if (!fault.empty())
            return where(k) + fault;
        for (const Clause &learnt : face->learnt) {
            ++tally.learnt;
            std::vector<int> negated;
            for (int lit : learnt)
                negated.push_back(-lit);
            if (static_cast<int>(learnt.size()) > sequence.learn_max || peer.solve(negated) != 20)
                return where(k) + "a learnt clause does not follow from the clauses";
        }
    }
    return "";
}

namespace {

// The literals of the lines after an s line that begin with letter, up to
// their ending 0; false when they are missing or malformed.
bool listed(std::istringstream &in, char letter, std::vector<int> &lits) {
    lits.clear();
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first != std::string(1, letter))
            return false;
        int lit = 0;
        while (words >> lit && lit != 0)
            lits.push_back(lit);
        if (lit == 0)
            return true;
    }
    return false;
}

} // namespace

std::string check_printed(const Sequence &sequence, const std::string &printed, Tally &tally) {
    std::istringstream in(printed);
    Cadical peer;
    std::vector<Clause> held;
    std::string line;
    for (size_t k = 0; k < sequence.calls.size(); ++k) {
        const Call &call = sequence.calls[k];
        for (const Clause &c : call.added) {
            peer.add(c);
            held.push_back(c);
        }
        ++tally.calls;
        if (!std::getline(in, line))
            return where(k) + "no answer";
        const int expected = peer.solve(call.assumed);
        std::vector<int> lits;
        if (line == "s SATISFIABLE" && expected == 10 && listed(in, 'v', lits)) {
            ++tally.models;
            auto is_true = [&](int lit) { return (std::find(lits.begin(), lits.end(), std::abs(lit)) != lits.end()) == (lit > 0); };
            for (const Clause &c : held)
                if (!std::any_of(c.begin(), c.end(), is_true))
                    return where(k) + "the model falsifies a clause";
            if (!std::all_of(call.assumed.begin(), call.assumed.end(), is_true))
                return where(k) + "the model falsifies an assumption";
        } else if (line == "s UNSATISFIABLE" && expected == 20 && listed(in, 'f', lits)) {
            ++tally.cores;
            Cadical fresh;
            for (const Clause &c : held)
                fresh.add(c);
            for (int lit : lits)
                if (std::find(call.assumed.begin(), call.assumed.end(), lit) == call.assumed.end())
                    return where(k) + "a failed literal that is no assumption";
            if (fresh.solve(lits) != 20)
                return where(k) + "the failed assumptions are not refuted by the clauses";
        } else {
            return where(k) + "prints " + line + ", CaDiCaL answers " + std::to_string(expected);
        }
    }
    return std::getline(in, line) ? "an answer after the last call" : "";
}

std::string to_inccnf(const Sequence &s) {
    std::ostringstream out;
    out << "c calls through " << (s.ipasir ? "IPASIR" : "vetrix::Solver") << ", strategy " << s.strategy
        << ", warm start " << (s.warm ? "on" : "off") << ", learn bound " << s.learn_max
        << (s.settings_first ? ", settings before the strategy" : "") << "\np inccnf\n";
    for (const Call &call : s.calls) {
        for (const Clause &c : call.added) {
            for (int lit : c)
                out << lit << ' ';
            out << "0\n";
        }
        if (call.conflict_limit || call.decision_limit || call.terminate_after >= 0)
            out << "c conflicts " << call.conflict_limit << ", decisions " << call.decision_limit
                << ", terminate after " << call.terminate_after << " polls\n";
        out << 'a';
        for (int lit : call.assumed)
            out << ' ' << lit;
        out << " 0\n";
    }
    return out.str();
}

bool from_inccnf(const std::string &text, Sequence &s) {
    std::istringstream in(text);
    std::string line;
    Call call;
    s.calls.clear();
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first == "c" || first == "p")
            continue;
        const bool assumptions = first == "a";
        std::vector<int> lits;
        if (!assumptions)
            words.seekg(0);
        int lit = 0;
        while (words >> lit && lit != 0)
            lits.push_back(lit);
        if (lit != 0)
            return false;
        if (!assumptions) {
            call.added.push_back(lits);
            continue;
        }
        call.assumed = lits;
        s.calls.push_back(call);
        call = Call();
    }
    if (s.calls.empty())
        s.calls.push_back(call); // a file without a call: one call without assumptions at its end
    return true;
}

} // namespace callfuzz
