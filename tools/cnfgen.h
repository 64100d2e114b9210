// cnfgen: seeded generator of DIMACS CNF formulas for testing vetrix.
//
// Every formula is a pure function of its seed and parameters (a private
// splitmix64 stream, no clock), so a failing case is reproduced from the
// numbers printed with it. The library is shared by the cnfgen tool, the
// differential test and the fuzz seed corpus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cnfgen {

using Clause = std::vector<int>; // signed DIMACS literals, without the final 0
using Clauses = std::vector<Clause>;

// splitmix64: small, fast and the same on every platform.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    int below(int n);         // uniform in [0, n), n > 0
    bool percent(int chance); // true with probability chance / 100

  private:
    uint64_t state_;
};

// What a formula is known to be by construction.
enum class Expect { Unknown, Sat, Unsat };

struct Formula {
    int nb_var = 0;  // the variable count written on the problem line
    Clauses clauses; // the clause lines in file order, exactly as written
    Expect expect = Expect::Unknown;
};

// Random k-SAT: nb_var * ratio_centi / 100 clauses of k distinct variables
// with random signs. The threshold for k = 3 lies near ratio 4.26.
Formula uniform_ksat(Rng &rng, int nb_var, int k, int ratio_centi);

// Like uniform_ksat, but every clause is satisfied by a hidden assignment.
Formula planted_ksat(Rng &rng, int nb_var, int k, int ratio_centi);

// Random 3-SAT over variables 1..nb_var whose clauses are padded to 8 to 20
// literals with kPadVars pad variables after them. Every pad variable is
// fixed: half by unit clauses, half by a gadget of four clauses over two
// fresh variables that the search must refute (so that root facts arrive in
// later passes too). Padding literals are false under the fixed values, so
// the root facts shorten the clauses back to their core; about one clause
// in ten gets one true padding literal instead, which the root facts
// satisfy. Satisfiable exactly when the core clauses not so satisfied are.
constexpr int kPadVars = 20;
Formula padded_ksat(Rng &rng, int nb_var, int ratio_centi);

// PHP(holes + 1, holes): holes + 1 pigeons in holes holes, one per hole.
Formula pigeonhole(int holes);

// Two XOR chains over the same n variables in different random orders, each
// fixing the parity of all n; satisfiable iff both ask for the same parity.
// Uses 3n - 2 variables.
Formula xor_chains(Rng &rng, int n, bool satisfiable);

// Reader edge cases mixed into a formula: repeated literals, clauses with a
// complementary pair (both the kept form "v -v" and the dropped form
// "v -v v"), unit clauses and, when asked, one empty clause.
struct Quirks {
    bool units = true;
    bool empty_clause = false;
};
void add_quirks(Rng &rng, Formula &f, const Quirks &q);

// How the text is laid out; none of it changes the formula.
struct Layout {
    bool crlf = false;      // CR LF line ends
    bool comments = false;  // comment and CR-only lines in every allowed place
    bool ragged = false;    // extra blanks and tabs, clauses split over lines
    bool final_eol = true;  // a line end after the last clause line
};

// A layout drawn from the stream: each feature on with probability 1/2.
Layout random_layout(Rng &rng);

// The DIMACS text of f. rng places the comments and the spacing.
std::string render(const Formula &f, const Layout &layout, Rng &rng);

// Plain DIMACS text of a clause list ("p cnf" line, one clause per line).
std::string render_plain(int nb_var, const Clauses &clauses);

// The clauses as vetrix's reader stores them: a repeated literal is kept
// once; a clause is dropped when a literal repeats while its complement is
// already present ("1 -1 1"), and kept with both codes otherwise ("1 -1").
Clauses reader_view(const Clauses &clauses);

// One generated file, named by a cnfgen command line (the words after the
// program name): [options] SEED FAMILY ARGS...
//
//   ksat N K RATIO      uniform random k-SAT, N variables, N*RATIO clauses
//   planted N K RATIO   random k-SAT satisfied by a hidden assignment
//   padded N RATIO      3-SAT padded to long clauses by fixed variables
//   php HOLES           pigeonhole PHP(HOLES+1, HOLES)
//   xor N sat|unsat     two parity chains over N variables
//
// Options: --crlf --comments --ragged --no-final-eol --random-layout (text
// layout), --quirks (repeated literals, complementary pairs, unit clauses),
// --empty-clause (quirks plus one empty clause).
struct Generated {
    Formula formula;
    std::string text; // the laid-out DIMACS text
};

// Returns false, with the reason in error, when args name no formula.
bool generate(const std::vector<std::string> &args, Generated &out, std::string &error);

} // namespace cnfgen
