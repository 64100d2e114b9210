// cnfgen command lines: from words to a generated file. The differential
// test names its cases with the same words, so a failing case is reproduced
// by running cnfgen with them.
#include <cmath>
#include <cstdlib>

#include "tools/cnfgen.h"

namespace cnfgen {

namespace {

struct Request {
    Layout layout;
    bool random_layout = false;
    bool quirks = false;
    Quirks quirk_kinds;
    std::vector<std::string> words; // SEED FAMILY ARGS...
};

bool set_flag(Request &r, const std::string &a) {
    if (a == "--crlf")
        r.layout.crlf = true;
    else if (a == "--comments")
        r.layout.comments = true;
    else if (a == "--ragged")
        r.layout.ragged = true;
    else if (a == "--no-final-eol")
        r.layout.final_eol = false;
    else if (a == "--random-layout")
        r.random_layout = true;
    else if (a == "--quirks")
        r.quirks = true;
    else if (a == "--empty-clause")
        r.quirks = r.quirk_kinds.empty_clause = true;
    else
        return false;
    return true;
}

int int_word(const Request &r, size_t i) {
    return i < r.words.size() ? std::atoi(r.words[i].c_str()) : -1;
}

// "4.26" -> 426: ratios are kept in hundredths so that clause counts never
// depend on floating-point rounding.
int centi_word(const Request &r, size_t i) {
    return i < r.words.size() ? static_cast<int>(std::lround(std::atof(r.words[i].c_str()) * 100)) : -1;
}

bool make_formula(const Request &r, Rng &rng, Formula &f) {
    const std::string &family = r.words[1];
    int n = int_word(r, 2);
    if (family == "ksat" || family == "planted") {
        int k = int_word(r, 3);
        int ratio = centi_word(r, 4);
        if (n < 1 || k < 1 || k > n || ratio < 0)
            return false;
        f = family == "ksat" ? uniform_ksat(rng, n, k, ratio) : planted_ksat(rng, n, k, ratio);
        return true;
    }
    if (family == "padded" && n >= 3 && centi_word(r, 3) >= 0) {
        f = padded_ksat(rng, n, centi_word(r, 3));
        return true;
    }
    if (family == "php" && n >= 1) {
        f = pigeonhole(n);
        return true;
    }
    if (family == "xor" && n >= 2 && r.words.size() > 3) {
        f = xor_chains(rng, n, r.words[3] == "sat");
        return true;
    }
    return false;
}

} // namespace

bool generate(const std::vector<std::string> &args, Generated &out, std::string &error) {
    Request r;
    for (const std::string &a : args) {
        if (a.rfind("--", 0) != 0)
            r.words.push_back(a);
        else if (!set_flag(r, a)) {
            error = "unknown option " + a;
            return false;
        }
    }
    if (r.words.size() < 2) {
        error = "missing SEED or FAMILY";
        return false;
    }
    Rng rng(std::strtoull(r.words[0].c_str(), nullptr, 10));
    if (!make_formula(r, rng, out.formula)) {
        error = "bad family or arguments";
        return false;
    }
    if (r.quirks)
        add_quirks(rng, out.formula, r.quirk_kinds);
    Layout layout = r.random_layout ? random_layout(rng) : r.layout;
    out.text = render(out.formula, layout, rng);
    return true;
}

} // namespace cnfgen
