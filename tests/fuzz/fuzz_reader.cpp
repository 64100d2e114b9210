// Fuzz target: the DIMACS reader on arbitrary bytes. Every input must either
// end in one of the reader's messages (status 1), report an early end of the
// text, or give a formula whose codes all name announced variables without
// repeats. ASan and UBSan watch every read of the text.
#include <cstddef>
#include <cstdint>

#include "reader/raspok1.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string text = fuzz::text_of(data, size);
    Dnf dnf;
    int nb_var = 0;
    try {
        if (raspok_dnf(text, dnf, nb_var))
            fuzz::checked_clauses(dnf, nb_var);
    } catch (const vetrix::Error &e) {
        fuzz::check_status(e);
    }
    return 0;
}
