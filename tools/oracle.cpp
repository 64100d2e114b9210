#include "tools/oracle.h"

#include <cstdint>

namespace cnfgen {

namespace {

// A clause as two bit masks over the assignment word: bit v-1 set in pos for
// the literal v, in neg for -v.
struct Masks {
    uint32_t pos = 0;
    uint32_t neg = 0;
};

} // namespace

bool brute_force_sat(int nb_var, const Clauses &clauses) {
    std::vector<Masks> masks;
    for (const Clause &c : clauses) {
        Masks m;
        for (int lit : c)
            (lit > 0 ? m.pos : m.neg) |= uint32_t{1} << ((lit > 0 ? lit : -lit) - 1);
        masks.push_back(m);
    }
    const uint32_t all = nb_var > 0 ? (uint32_t{1} << nb_var) - 1 : 0;
    for (uint64_t a = 0; a <= all; ++a) {
        const uint32_t set = static_cast<uint32_t>(a);
        bool sat = true;
        for (const Masks &m : masks)
            if (((set & m.pos) | (~set & all & m.neg)) == 0) {
                sat = false;
                break;
            }
        if (sat)
            return true;
    }
    return false;
}

bool satisfies(const Clauses &clauses, const std::vector<bool> &truth) {
    for (const Clause &c : clauses) {
        bool sat = false;
        for (int lit : c)
            if (truth[static_cast<size_t>(lit > 0 ? lit : -lit)] == (lit > 0)) {
                sat = true;
                break;
            }
        if (!sat)
            return false;
    }
    return true;
}

} // namespace cnfgen
