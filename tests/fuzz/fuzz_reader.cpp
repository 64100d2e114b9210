// Fuzz target: the DIMACS reader on arbitrary bytes, plain or compressed.
// Every input must either end in one of the reader's or the decoders'
// messages (status 1), report an early end of the text, or give a formula
// whose codes all name announced variables without repeats. ASan and UBSan
// watch every read of the text and of the compressed bytes.
#include <cstddef>
#include <cstdint>

#include "reader/raspok1.h"
#include "support/input_file.h"
#include "tests/fuzz/fuzz_support.h"

using namespace vetrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    StringSource stored(reinterpret_cast<const char *>(data), size);
    Formula formula;
    int nb_var = 0;
    try {
        DecodedText input(stored, "input");
        if (raspok_dnf(input.text(), formula, nb_var)) {
            fuzz::checked_clauses(formula, nb_var);
            input.check_rest();
        }
    } catch (const vetrix::Error &e) {
        fuzz::check_status(e);
    }
    return 0;
}
