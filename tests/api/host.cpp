// A program that names its own functions and globals like the library's
// internals, linked against the installed library: it must link, keep its
// own definitions and still get the library's answers and messages.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vetrix/vetrix.h>

// The host's namesakes; each leaves a mark so a call that lands here from the
// library is seen.
int host_calls = 0;
int *guard_0 = &host_calls;
int guard_1[4];
void fatal(const std::string &) { ++host_calls; }
void AfxMessageBox(const char *) { ++host_calls; }
void out_of_memory() { ++host_calls; }
void string_add(std::string &s, const char *p) { s += p, s += p; }
void Uponeub_sh1(int *a, int) { ++*a; }
class Formula {};
bool raspok_dnf(const std::string &, Formula &, int &nb_var) { return nb_var = -7, false; }
struct CHpGN56 {
    CHpGN56(Formula &, int, int) { ++host_calls; }
};
int base_B456_rs(Formula &, int, int) { return 42; }

namespace {

int failures = 0;

void expect(bool ok, const char *what) {
    if (!ok) {
        std::cout << "failed: " << what << "\n";
        ++failures;
    }
}

} // namespace

int main() {
    const vetrix::Result r = vetrix::solve(3, {{1, -2}, {2, 3}, {-1}});
    expect(r.verdict == vetrix::Verdict::satisfiable && r.model == std::vector<int>{-1, -2, 3}, "the model");
    std::string message;
    try {
        vetrix::solve_dimacs("p cnf 1 1\n2 0\n");
    } catch (const vetrix::Error &e) {
        message = e.message();
    }
    expect(message == "literal 2 out of range in clause 1\n", "the library's own message");
    expect(vetrix::solve_dimacs("p cnf 1 2\n1 0\n-1 0\n").verdict == vetrix::Verdict::unsatisfiable, "unsat");

    std::string s = "a";
    string_add(s, "b");
    int sorted[2] = {2, 1};
    Uponeub_sh1(sorted, 2);
    Formula formula;
    int nb_var = 0;
    expect(s == "abb" && sorted[0] == 3 && !raspok_dnf(s, formula, nb_var) && nb_var == -7 &&
               base_B456_rs(formula, 0, 0) == 42,
           "the host's own functions");
    CHpGN56 state(formula, 0, 0);
    fatal(s);
    AfxMessageBox("x");
    out_of_memory();
    expect(host_calls == 4 && *guard_0 == 4 && guard_1[0] == 0, "the host's own globals, called only by the host");
    if (failures == 0)
        std::cout << "host namesakes: linked, solved\n";
    return failures == 0 ? 0 : 1;
}
