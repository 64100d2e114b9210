// Fuzz target: incremental call sequences chosen by the input's bytes (then
// by a generator they seed), run on vetrix through vetrix::Solver or IPASIR
// and checked call by call against CaDiCaL. A failed check prints the
// sequence as an incremental CNF file, which `vetrix FILE N` replays, and
// aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/call_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    callfuzz::Choices choices(data, size);
    const callfuzz::Sequence sequence = callfuzz::random_sequence(choices);
    callfuzz::Tally tally;
    const std::string fault = callfuzz::check(sequence, tally);
    if (fault.empty())
        return 0;
    std::fprintf(stderr, "fuzz_calls: %s\n%s", fault.c_str(), callfuzz::to_inccnf(sequence).c_str());
    std::abort();
}
