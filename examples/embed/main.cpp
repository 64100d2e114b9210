// (x1 or not x2) and (x2 or x3) and (not x1), decided by the vetrix library.
#include <iostream>
#include <vetrix/vetrix.h>

int main() {
    const vetrix::Result r = vetrix::solve(3, {{1, -2}, {2, 3}, {-1}});
    std::cout << (r.verdict == vetrix::Verdict::satisfiable ? "satisfiable:" : "not satisfiable");
    for (int literal : r.model)
        std::cout << ' ' << literal;
    std::cout << '\n';
}
