// Shared by the fuzz targets: the check of a fatal path's status and a
// checked copy of the formula the reader built.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/formula.h"
#include "tools/cnfgen.h"
#include "vetrix/vetrix.h"

namespace vetrix::fuzz {

// The text as the driver hands it over: the bytes and one NUL.
inline std::string text_of(const uint8_t *data, size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    text.push_back('\0');
    return text;
}

// Every message comes with exit status 1.
inline void check_status(const vetrix::Error &e) {
    if (e.status() != 1)
        std::abort();
}

// The formula as signed DIMACS literals. Aborts unless every clause holds
// codes of variables 1..nb_var, each at most once.
inline cnfgen::Clauses checked_clauses(const Formula &formula, int nb_var) {
    cnfgen::Clauses clauses;
    for (int i = 0; i < formula.clause_count(); ++i) {
        cnfgen::Clause c;
        const int *codes = formula.clause_begin(i);
        for (int j = 0; j < formula.clause_size(i); ++j) {
            int code = codes[j];
            if (code < 0 || code >= 2 * nb_var)
                std::abort();
            for (int k = 0; k < j; ++k)
                if (codes[k] == code)
                    std::abort();
            c.push_back(code % 2 == 0 ? code / 2 + 1 : -(code / 2 + 1));
        }
        clauses.push_back(c);
    }
    return clauses;
}

} // namespace vetrix::fuzz
