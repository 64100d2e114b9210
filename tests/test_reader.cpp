// The DIMACS reader in process: literal codes and their order, repeats,
// always-true clauses, comment and blank handling, line ends, number lengths
// and texts that end too early.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "reader/clause_builder.h"
#include "reader/raspok1.h"
#include "support/fatal.h"
#include "support/my_carray.h"

using namespace vetrix;

namespace {

using Codes = std::vector<std::vector<int>>;

struct Parsed {
    bool ok;
    int nb_var;
    Codes clauses;
    bool flat; // every clause starts where the one before it ends
};

// The reader's result as plain values.
Parsed parsed(bool ok, int nb_var, const Formula &formula) {
    Parsed p{ok, nb_var, {}, true};
    if (p.ok) {
        for (int i = 0; i < formula.clause_count(); ++i) {
            p.clauses.emplace_back(formula.clause_begin(i), formula.clause_end(i));
            if (i > 0 && formula.clause_begin(i) != formula.clause_end(i - 1))
                p.flat = false;
        }
    }
    return p;
}

// Hands out its bytes one, two or three at a time, so that every token and
// line end of a text meets the end of the reader's window somewhere.
class TrickleSource : public ByteSource {
  public:
    explicit TrickleSource(const std::string &text) : text_(text) {}
    size_t read(char *buf, size_t capacity) override {
        size_t n = std::min({capacity, text_.size() - pos_, size_t{1} + calls_++ % 3});
        text_.copy(buf, n, pos_);
        pos_ += n;
        return n;
    }

  private:
    const std::string &text_;
    size_t pos_ = 0;
    size_t calls_ = 0;
};

// Reads text as the driver hands it over (the file's bytes and one NUL),
// and once more in small pieces, which must give the same.
Parsed parse(std::string text, int nb_var_before = -7) {
    TrickleSource trickle(text);
    Formula pieces;
    int nb_var_pieces = nb_var_before;
    const bool ok_pieces = raspok_dnf(trickle, pieces, nb_var_pieces);
    text += '\0';
    Formula formula;
    int nb_var = nb_var_before;
    const bool ok = raspok_dnf(text, formula, nb_var);
    Parsed p = parsed(ok, nb_var, formula);
    Parsed q = parsed(ok_pieces, nb_var_pieces, pieces);
    EXPECT_EQ(p.ok, q.ok);
    EXPECT_EQ(p.nb_var, q.nb_var);
    EXPECT_EQ(p.clauses, q.clauses);
    return p;
}

struct Case {
    const char *name;
    std::string text;
    int nb_var;
    Codes clauses;
};

void check_cases(const std::vector<Case> &cases) {
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Parsed p = parse(c.text);
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.nb_var, c.nb_var);
        EXPECT_EQ(p.clauses, c.clauses);
    }
}

// +v is 2(v-1), -v is 2(v-1)+1.
TEST(Reader, LiteralCodesInOrderOfFirstAppearance) {
    check_cases({
        {"two clauses", "p cnf 3 2\n1 -2 0\n2 3 0\n", 3, {{0, 3}, {2, 4}}},
        {"order kept, not sorted", "p cnf 4 1\n4 -3 2 -1 0\n", 4, {{6, 5, 2, 1}}},
        {"empty clause line", "p cnf 2 2\n0\n-1 0\n", 2, {{}, {1}}},
        {"six-digit literals", "p cnf 999999 1\n-999999 123456 0\n", 999999, {{1999997, 246910}}},
        {"same literals in several clauses", "p cnf 2 3\n1 2 0\n1 2 0\n2 1 0\n", 2,
         {{0, 2}, {0, 2}, {2, 0}}},
    });
}

TEST(Reader, RepeatsAndComplementaryPairs) {
    check_cases({
        {"repeat stored once", "p cnf 2 1\n1 1 2 0\n", 2, {{0, 2}}},
        {"repeat later in the line", "p cnf 3 1\n-3 1 -3 2 1 0\n", 3, {{5, 0, 2}}},
        {"pair without repeat is kept", "p cnf 1 1\n1 -1 0\n", 1, {{0, 1}}},
        // A repeat while the complement is present drops the line; the next
        // line fills the same clause and the count shrinks by one.
        {"dropped, slot reused", "p cnf 2 2\n1 -1 1 0\n2 0\n", 2, {{2}}},
        {"dropped starting with the negative", "p cnf 2 2\n-1 1 -1 0\n-2 0\n", 2, {{3}}},
        {"dropped in the middle", "p cnf 3 3\n1 2 0\n-2 2 -2 3 0\n-1 0\n", 3, {{0, 2}, {1}}},
        // The dropped line's marks must not leak into the line read next.
        {"next line has fresh marks", "p cnf 2 2\n1 -1 1 0\n1 -1 0\n", 2, {{0, 1}}},
    });
}

// A unit clause after its complement's leaves the formula the two alone;
// a repeated literal makes a unit clause, a dropped always-true line none.
// The text after the pair is still read: an early end is still reported.
TEST(Reader, ComplementaryUnitClauses) {
    check_cases({
        {"pair keeps only itself", "p cnf 3 5\n2 3 0\n-1 0\n2 -3 0\n1 1 0\n-2 0\n", 3, {{1}, {0}}},
        {"dropped line is no unit", "p cnf 2 3\n1 0\n-1 1 -1 0\n-1 2 0\n", 2, {{0}, {1, 2}}},
    });
    EXPECT_FALSE(parse("p cnf 2 4\n1 0\n-1 0\n2 0\n").ok);
}

TEST(Reader, CommentsAndEmptyLines) {
    check_cases({
        {"comments before p", "c first\nc second\np cnf 1 1\n1 0\n", 1, {{0}}},
        {"0xF1 starts a comment before p", "\xF1 comment\np cnf 1 1\n-1 0\n", 1, {{1}}},
        {"empty line among leading comments", "c a\n\nc b\np cnf 1 1\n1 0\n", 1, {{0}}},
        {"comment after the p line", "p cnf 2 2\nc between\n1 0\n2 0\n", 2, {{0}, {2}}},
        {"comments between clauses", "p cnf 2 2\n1 0\nc x\n\xF1 y\nc z\n2 0\n", 2, {{0}, {2}}},
        {"CR-only lines", "p cnf 2 2\n\r\n1 0\n\r\n\r\n2 0\n", 2, {{0}, {2}}},
        {"empty lines between clauses", "p cnf 2 2\n\n1 0\n\n\n2 0\n", 2, {{0}, {2}}},
        {"comment after a CR-only line", "p cnf 2 2\n1 0\n\r\nc x\n2 0\n", 2, {{0}, {2}}},
    });
}

TEST(Reader, ProblemLineForms) {
    check_cases({
        {"p dnf reads like p cnf", "p dnf 3 2\n1 -2 0\n2 3 0\n", 3, {{0, 3}, {2, 4}}},
        {"several blanks", "p cnf   3    2   \n1 -2 0\n2 3 0\n", 3, {{0, 3}, {2, 4}}},
        {"six-digit variable count", "p cnf 999999 1\n1 0\n", 999999, {{0}}},
        {"seven-character clause count", "p cnf 2 0000002\n1 0\n2 0\n", 2, {{0}, {2}}},
        {"zero clauses", "p cnf 5 0\n", 5, {}},
        {"zero clauses, no line end", "p cnf 4 0", 4, {}},
        {"clauses beyond the count ignored", "p cnf 2 1\n1 0\n2 0\n%\n0\n", 2, {{0}}},
        {"last line without line end", "p cnf 2 1\n-2 1 0", 2, {{3, 0}}},
    });
}

TEST(Reader, BlanksTabsAndLineEnds) {
    check_cases({
        {"blanks and tabs", "p cnf 3 1\n \t 1 \t\t-2   3\t0\n", 3, {{0, 3, 4}}},
        {"second clause on a line ignored", "p cnf 3 2\n1 2 0 3 0\n-1 0\n", 3, {{0, 2}, {1}}},
        {"CRLF", "c x\r\np cnf 3 2\r\n1 -2 0\r\n2 3 0\r\n", 3, {{0, 3}, {2, 4}}},
        // A seven-character clause count followed by CR would be too long;
        // six characters and the CR are accepted.
        {"CR counts in the clause count", "p cnf 2 000002\r\n1 0\r\n2 0\r\n", 2, {{0}, {2}}},
        // A line feed or CR ends a literal token: a clause continued on the
        // next line keeps every literal.
        {"continued after a blank", "p cnf 3 2\n1 2\n 3 0\n-1 0\n", 3, {{0, 2, 4}, {1}}},
        {"continued at column 0", "p cnf 3 1\n1\n-2\n3 0\n", 3, {{0, 3, 4}}},
        {"0 on the next line", "p cnf 2 2\n1 2\n 0\n-2 0\n", 2, {{0, 2}, {3}}},
        {"continued with CRLF", "p cnf 3 2\r\n1 2\r\n 3 0\r\n-1 0\r\n", 3, {{0, 2, 4}, {1}}},
    });
}

TEST(Reader, ClausesLieOneAfterAnotherInOneStore) {
    Parsed p = parse("p cnf 5 3\n1 2 3 4 5 0\n1 0\n0\n");
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.flat);
    EXPECT_EQ(p.clauses, (Codes{{0, 2, 4, 6, 8}, {0}, {}}));
}

// Clauses longer than a short scan find repeats and complements through the
// per-code marks; the rules are the same at every length.
TEST(Reader, LongClausesKeepTheRepeatRules) {
    std::string line;
    Codes want{{}};
    for (int v = 1; v <= 20; ++v) {
        line += std::to_string(v) + " ";
        want[0].push_back(2 * (v - 1));
    }
    Codes with_minus_3 = want;
    with_minus_3[0].push_back(5);
    check_cases({
        {"repeat after 20 codes", "p cnf 20 1\n" + line + "20 1 -3 0\n", 20, with_minus_3},
        {"complement then repeat after 20 codes",
         "p cnf 20 2\n" + line + "-5 5 0\n" + line + "0\n", 20, want},
    });
}

TEST(Reader, TextEndingInsideAScanIsReported) {
    const char *texts[] = {
        "c only a comment\n",
        "c x\nc y",
        "p cnf 3",
        "p cnf 3 1",
        "p cn 3 1\n1 0\n",           // no f after the p
        "p cnf 2 3\n1 0\n2 0\n",     // fewer clause lines than announced
        "p cnf 2 1\n1 2\n",          // the last clause lacks its 0
        "p cnf 2 1\n1 2",
        "p cnf 1 1\n1 -1 1",         // a dropped clause without its 0
        "p cnf 2 2\n1 0\nc x\n",
    };
    for (const char *t : texts) {
        Parsed p = parse(t, 77);
        EXPECT_FALSE(p.ok) << t;
    }
    EXPECT_EQ(parse("c only a comment\n", 77).nb_var, 0); // set on entry
}

} // namespace

namespace {

// The codes a formula holds, clause by clause.
Codes codes_of(const Formula &f) {
    Codes codes;
    for (int i = 0; i < f.clause_count(); ++i)
        codes.emplace_back(f.clause_begin(i), f.clause_end(i));
    return codes;
}

} // namespace

// Clauses handed to the builder directly give the formula the reader builds
// from the same clauses as text: repeats, complementary pairs, empty clauses.
TEST(ClauseBuilder, BuildsWhatTheReaderBuilds) {
    const std::vector<std::vector<int>> clauses = {{1, -2}, {1, 1, 2}, {3, -3}, {2, -2, 2}, {}, {-3, 3, -3, 1}, {3}};
    Formula built;
    ClauseBuilder builder(built, 3, static_cast<int>(clauses.size()));
    std::string text = "p cnf 3 " + std::to_string(clauses.size()) + "\n";
    for (const std::vector<int> &clause : clauses) {
        builder.begin_clause();
        for (int lit : clause) {
            builder.add_literal(lit < 0 ? -lit : lit, lit < 0);
            text += std::to_string(lit) + " ";
        }
        builder.end_clause();
        text += "0\n";
    }
    Parsed p = parse(text);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(codes_of(built), p.clauses);
    EXPECT_EQ(codes_of(built), (Codes{{0, 3}, {0, 2}, {4, 5}, {}, {4}}));
}

TEST(ClauseBuilderFatal, LiteralOutOfRangeNamesItsClause) {
    EXPECT_TRUE(fails_with(
        [] {
            Formula f;
            ClauseBuilder builder(f, 3, 2);
            builder.begin_clause();
            builder.end_clause();
            builder.begin_clause();
            builder.add_literal(4, true);
        },
        "literal -4 out of range in clause 2\n"));
}
