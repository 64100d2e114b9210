// The LRAT IDs of the binary clauses, which sit in the watch lists without a
// word of their own: an open-addressing table keyed by the clause's two
// literals, one entry per clause held (a clause held twice has two). A
// look-up is one multiplicative hash and a short linear probe; deletions
// shift the probe's later entries back, so no tombstones pile up.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/proof.h"

namespace vetrix {
namespace fast {

class BinaryIds {
  public:
    static uint64_t key(int a, int b) {
        const uint64_t x = static_cast<uint32_t>(a), y = static_cast<uint32_t>(b);
        return x < y ? x << 32 | y : y << 32 | x;
    }
    void insert(uint64_t key, ClauseId id);
    // The ID of the k-th entry of key met from its home slot (k = 0: any
    // clause of these literals); the entry must be there.
    ClauseId find(uint64_t key, size_t k = 0) const;
    // Removes one entry of key and gives its ID.
    ClauseId erase(uint64_t key);

  private:
    static constexpr uint64_t EMPTY = UINT64_MAX; // no key: literal codes are below 2^31
    struct Slot {
        uint64_t key;
        ClauseId id;
    };
    size_t home(uint64_t key) const { return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_); }
    size_t next(size_t i) const { return (i + 1) & (slots_.size() - 1); }
    void grow();

    std::vector<Slot> slots_; // a power of two of them, at most half used
    size_t used_ = 0;
    unsigned shift_ = 64;
};

} // namespace fast
} // namespace vetrix
