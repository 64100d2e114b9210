#include "tools/cnfgen.h"

#include <algorithm>
#include <utility>

namespace cnfgen {

uint64_t Rng::next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Rng::below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

bool Rng::percent(int chance) { return below(100) < chance; }

namespace {

int random_literal(Rng &rng, int var) { return rng.percent(50) ? var : -var; }

// k distinct variables out of 1..nb_var with random signs (k <= nb_var).
Clause random_clause(Rng &rng, int nb_var, int k) {
    Clause c;
    while (static_cast<int>(c.size()) < k) {
        int v = 1 + rng.below(nb_var);
        bool fresh = std::none_of(c.begin(), c.end(), [v](int l) { return l == v || l == -v; });
        if (fresh)
            c.push_back(random_literal(rng, v));
    }
    return c;
}

template <class T> void shuffle(Rng &rng, std::vector<T> &items) {
    for (size_t i = items.size(); i > 1; --i)
        std::swap(items[i - 1], items[static_cast<size_t>(rng.below(static_cast<int>(i)))]);
}

int clause_count(int nb_var, int ratio_centi) { return nb_var * ratio_centi / 100; }

// z <-> a xor b as four clauses.
void add_xor(Clauses &out, int z, int a, int b) {
    out.push_back({-z, a, b});
    out.push_back({-z, -a, -b});
    out.push_back({z, -a, b});
    out.push_back({z, a, -b});
}

// Chains z_i = z_{i-1} xor order[i] from order[0] through fresh variables
// first_aux, first_aux + 1, ... and fixes the last link to parity.
void add_parity_chain(Clauses &out, const std::vector<int> &order, int first_aux, bool parity) {
    int prev = order[0];
    for (size_t i = 1; i < order.size(); ++i) {
        int z = first_aux + static_cast<int>(i) - 1;
        add_xor(out, z, prev, order[i]);
        prev = z;
    }
    out.push_back({parity ? prev : -prev});
}

void insert_at_random(Rng &rng, Clauses &clauses, Clause c) {
    auto at = clauses.begin() + rng.below(static_cast<int>(clauses.size()) + 1);
    clauses.insert(at, std::move(c));
}

// One clause holding a complementary pair, in one of the forms the reader
// treats differently: "a -a ..." and "a a -a" keep both codes, "a -a a" is
// dropped as always true.
Clause pair_clause(Rng &rng, int nb_var) {
    int a = random_literal(rng, 1 + rng.below(nb_var));
    switch (rng.below(3)) {
    case 0: {
        Clause c{a, -a};
        int extra = 1 + rng.below(nb_var);
        if (extra != a && extra != -a)
            c.push_back(random_literal(rng, extra));
        return c;
    }
    case 1:
        return {a, a, -a};
    default:
        return {a, -a, a};
    }
}

bool contains(const Clause &c, int lit) { return std::find(c.begin(), c.end(), lit) != c.end(); }

// Line writer that knows the line end in use.
struct Text {
    std::string s;
    const char *eol;

    void line(const std::string &content) { s += content + eol; }
};

std::string literal_gap(Rng &rng, const Layout &layout) {
    static const char *const gaps[] = {"  ", "\t", " \t ", "\t\t"};
    if (!layout.ragged || rng.percent(70))
        return " ";
    if (rng.percent(20)) // the clause goes on on the next line
        return layout.crlf ? "\r\n" : "\n";
    return gaps[rng.below(4)];
}

std::string clause_line(Rng &rng, const Layout &layout, const Clause &c) {
    std::string s;
    if (layout.ragged && rng.percent(20))
        s += rng.percent(50) ? "  " : "\t";
    for (int lit : c)
        s += std::to_string(lit) + literal_gap(rng, layout);
    s += "0";
    if (layout.ragged && rng.percent(20))
        s += " \t ";
    return s;
}

// Lines the reader passes over before a clause line: comment lines (also with
// the Cyrillic letter es, byte 0xF1), CR-only lines and, last, an empty line.
void filler_lines(Rng &rng, const Layout &layout, Text &t) {
    if (layout.comments && rng.percent(25)) {
        static const char *const notes[] = {"c between clause lines", "c 1 -2 0 is no clause here",
                                            "\xF1 comment with the letter es", "c"};
        t.line(notes[rng.below(4)]);
        if (rng.percent(30))
            t.s += "\r\n";
    }
    if (layout.ragged && rng.percent(10))
        t.line("");
}

} // namespace

Formula uniform_ksat(Rng &rng, int nb_var, int k, int ratio_centi) {
    Formula f;
    f.nb_var = nb_var;
    for (int i = clause_count(nb_var, ratio_centi); i > 0; --i)
        f.clauses.push_back(random_clause(rng, nb_var, k));
    return f;
}

Formula planted_ksat(Rng &rng, int nb_var, int k, int ratio_centi) {
    std::vector<bool> hidden(static_cast<size_t>(nb_var) + 1);
    for (int v = 1; v <= nb_var; ++v)
        hidden[static_cast<size_t>(v)] = rng.percent(50);
    auto satisfied = [&hidden](const Clause &c) {
        return std::any_of(c.begin(), c.end(), [&hidden](int l) {
            return hidden[static_cast<size_t>(l > 0 ? l : -l)] == (l > 0);
        });
    };
    Formula f;
    f.nb_var = nb_var;
    f.expect = Expect::Sat;
    for (int i = clause_count(nb_var, ratio_centi); i > 0;) {
        Clause c = random_clause(rng, nb_var, k);
        if (satisfied(c)) {
            f.clauses.push_back(std::move(c));
            --i;
        }
    }
    return f;
}

Formula padded_ksat(Rng &rng, int nb_var, int ratio_centi) {
    Formula f = uniform_ksat(rng, nb_var, 3, ratio_centi);
    std::vector<int> fixed; // the true literal of each pad variable
    for (int v = nb_var + 1; v <= nb_var + kPadVars; ++v)
        fixed.push_back(random_literal(rng, v));
    Clauses extra;
    int aux = nb_var + kPadVars;
    for (size_t i = 0; i < fixed.size(); ++i) {
        const int p = fixed[i];
        if (i % 2 == 0) {
            extra.push_back({p});
            continue;
        }
        const int x = ++aux, y = ++aux; // -p leaves x, y no value
        for (int sx : {x, -x})
            for (int sy : {y, -y})
                extra.push_back({p, sx, sy});
    }
    for (Clause &c : f.clauses) {
        std::vector<int> pads = fixed;
        shuffle(rng, pads);
        const int n = 5 + rng.below(13);
        const bool satisfied = rng.percent(10);
        for (int k = 0; k < n; ++k)
            c.push_back(satisfied && k == 0 ? pads[0] : -pads[static_cast<size_t>(k)]);
        shuffle(rng, c);
    }
    for (Clause &c : extra)
        insert_at_random(rng, f.clauses, std::move(c));
    f.nb_var = aux;
    return f;
}

Formula pigeonhole(int holes) {
    auto var = [holes](int pigeon, int hole) { return pigeon * holes + hole + 1; };
    Formula f;
    f.nb_var = (holes + 1) * holes;
    f.expect = Expect::Unsat;
    for (int p = 0; p <= holes; ++p) {
        Clause somewhere;
        for (int h = 0; h < holes; ++h)
            somewhere.push_back(var(p, h));
        f.clauses.push_back(somewhere);
    }
    for (int h = 0; h < holes; ++h)
        for (int p = 0; p <= holes; ++p)
            for (int q = p + 1; q <= holes; ++q)
                f.clauses.push_back({-var(p, h), -var(q, h)});
    return f;
}

Formula xor_chains(Rng &rng, int n, bool satisfiable) {
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        order[static_cast<size_t>(i)] = i + 1;
    bool parity = rng.percent(50);
    Formula f;
    f.nb_var = 3 * n - 2;
    f.expect = satisfiable ? Expect::Sat : Expect::Unsat;
    shuffle(rng, order);
    add_parity_chain(f.clauses, order, n + 1, parity);
    shuffle(rng, order);
    add_parity_chain(f.clauses, order, 2 * n, satisfiable ? parity : !parity);
    shuffle(rng, f.clauses);
    return f;
}

void add_quirks(Rng &rng, Formula &f, const Quirks &q) {
    for (Clause &c : f.clauses)
        if (!c.empty() && rng.percent(15)) {
            int n = static_cast<int>(c.size());
            int at = rng.below(n);
            int lit = c[static_cast<size_t>(at)];
            c.insert(c.begin() + at + 1 + rng.below(n - at), lit); // somewhere after its first place
        }
    for (int i = f.nb_var / 10 + 1; i > 0; --i)
        insert_at_random(rng, f.clauses, pair_clause(rng, f.nb_var));
    if (q.units) {
        for (int i = 1 + rng.below(2); i > 0; --i)
            insert_at_random(rng, f.clauses, {random_literal(rng, 1 + rng.below(f.nb_var))});
        if (f.expect == Expect::Sat)
            f.expect = Expect::Unknown;
    }
    if (q.empty_clause) {
        insert_at_random(rng, f.clauses, {});
        f.expect = Expect::Unsat;
    }
}

Layout random_layout(Rng &rng) {
    Layout l;
    l.crlf = rng.percent(50);
    l.comments = rng.percent(50);
    l.ragged = rng.percent(50);
    l.final_eol = rng.percent(50);
    return l;
}

std::string render(const Formula &f, const Layout &layout, Rng &rng) {
    Text t{std::string(), layout.crlf ? "\r\n" : "\n"};
    if (layout.comments) {
        t.line("c cnfgen formula");
        t.line("");
        t.line("\xF1 before the problem line any line not starting with p is skipped");
    }
    t.s += "p cnf " + std::to_string(f.nb_var) + " " + std::to_string(f.clauses.size());
    if (f.clauses.empty() && !layout.final_eol)
        return t.s; // the clause count is the last thing in the text
    t.s += t.eol;
    if (layout.comments)
        t.line("c right after the problem line");
    for (size_t i = 0; i < f.clauses.size(); ++i) {
        if (i > 0)
            filler_lines(rng, layout, t);
        t.s += clause_line(rng, layout, f.clauses[i]);
        if (layout.final_eol || i + 1 < f.clauses.size())
            t.s += t.eol;
    }
    if (layout.comments && layout.final_eol)
        t.line("c after the last clause");
    return t.s;
}

std::string render_plain(int nb_var, const Clauses &clauses) {
    std::string s = "p cnf " + std::to_string(nb_var) + " " + std::to_string(clauses.size()) + "\n";
    for (const Clause &c : clauses) {
        for (int lit : c)
            s += std::to_string(lit) + " ";
        s += "0\n";
    }
    return s;
}

Clauses reader_view(const Clauses &clauses) {
    Clauses kept;
    for (const Clause &c : clauses) {
        Clause stored;
        bool dropped = false;
        for (int lit : c) {
            if (!contains(stored, lit))
                stored.push_back(lit);
            else if (contains(stored, -lit)) {
                dropped = true;
                break;
            }
        }
        if (!dropped)
            kept.push_back(std::move(stored));
    }
    return kept;
}

} // namespace cnfgen
