// vetrix::Verdict, the answer of a solve.
#pragma once

namespace vetrix {

enum class Verdict { satisfiable, unsatisfiable, unknown };

} // namespace vetrix
