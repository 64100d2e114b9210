// vetrix::Verdict, the answer of a solve.
#pragma once

namespace vetrix {

enum class Verdict { satisfiable, unsatisfiable, unknown };

// The verdict's code in the SAT competitions (and IPASIR, the C calls, the
// Python module): 10 satisfiable, 20 unsatisfiable, 0 unknown.
constexpr int verdict_code(Verdict verdict) {
    return verdict == Verdict::satisfiable ? 10 : verdict == Verdict::unsatisfiable ? 20 : 0;
}

} // namespace vetrix
