// The binary clauses' ID table (binary_ids.h).
#include "solver/fast/binary_ids.h"

namespace vetrix {
namespace fast {

void BinaryIds::grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    const size_t size = old.empty() ? 1024 : 2 * old.size();
    slots_.assign(size, Slot{EMPTY, 0});
    shift_ = 64;
    for (size_t s = size; s > 1; s >>= 1)
        --shift_;
    for (const Slot &s : old)
        if (s.key != EMPTY) {
            size_t i = home(s.key);
            while (slots_[i].key != EMPTY)
                i = next(i);
            slots_[i] = s;
        }
}

void BinaryIds::insert(uint64_t key, ClauseId id) {
    if (2 * (used_ + 1) > slots_.size())
        grow();
    size_t i = home(key);
    while (slots_[i].key != EMPTY)
        i = next(i);
    slots_[i] = {key, id};
    ++used_;
}

ClauseId BinaryIds::find(uint64_t key, size_t k) const {
    for (size_t i = home(key);; i = next(i))
        if (slots_[i].key == key && k-- == 0)
            return slots_[i].id;
}

// Backward-shift deletion: each later entry of the probe run moves into the
// hole when its home slot does not lie between the hole and itself.
ClauseId BinaryIds::erase(uint64_t key) {
    size_t hole = home(key);
    while (slots_[hole].key != key)
        hole = next(hole);
    const ClauseId id = slots_[hole].id;
    for (size_t j = next(hole); slots_[j].key != EMPTY; j = next(j)) {
        const size_t h = home(slots_[j].key);
        const bool stays = hole <= j ? (hole < h && h <= j) : (hole < h || h <= j);
        if (stays)
            continue;
        slots_[hole] = slots_[j];
        hole = j;
    }
    slots_[hole].key = EMPTY;
    --used_;
    return id;
}

} // namespace fast
} // namespace vetrix
