#include "reader/raspok1.h"

#include <cstdlib>

#include "support/literal.h"
#include "support/uponeub.h"

namespace {

// A forward scanner over the text. `end` is the index of the NUL the driver
// appended; every scan stops there, so no read goes past the text.
struct Scanner {
    const char *t;
    size_t end;
    size_t i = 0;

    bool at_end() const { return i >= end; }
    unsigned char cur() const { return static_cast<unsigned char>(t[i]); }
    unsigned char next() const { return static_cast<unsigned char>(t[i + 1]); }

    // Moves to the next line feed, staying on the current one if it is one.
    bool to_line_feed() {
        while (i < end && t[i] != '\n')
            ++i;
        return i < end;
    }
};

bool is_comment_start(unsigned char c) { return c == 'c' || c == 0xF1; }

[[noreturn]] void fail_token(const char *head, const char *tail, const char *tok) {
    fatal(std::string(head) + tail + std::string(tok, 7) + "\n");
}

// Collects a number token of at most `limit` characters into tok, ending at a
// character for which `ends` is true or at the end of the text. Returns the
// token length, or -1 when the limit is exceeded (tok then holds limit + 1
// characters).
template <class Ends> int collect(Scanner &s, char *tok, int limit, Ends ends) {
    int len = 0;
    while (!s.at_end() && !ends(s.cur())) {
        if (len == limit) {
            tok[len] = s.t[s.i];
            return -1;
        }
        tok[len++] = s.t[s.i++];
    }
    tok[len] = '\0';
    return len;
}

bool ends_at_blank(unsigned char c) { return c == ' '; }
bool ends_count(unsigned char c) { return c == ' ' || c == '\n'; }
bool ends_literal(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool is_gap(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Finds the problem line: at position 0, or after leading comment lines.
bool find_problem_line(Scanner &s) {
    unsigned char first = s.cur();
    if (first == 'p')
        return true;
    if (!is_comment_start(first)) {
        fatal("it is not a CNF\n");
    }
    do {
        if (!s.to_line_feed())
            return false;
        ++s.i;
    } while (!s.at_end() && s.cur() != 'p');
    return !s.at_end();
}

// Reads "p <word ending in f> <vars> <clauses>".
bool read_problem_line(Scanner &s, int &nb_var, int &nb_clause) {
    while (!s.at_end() && s.cur() != 'f')
        ++s.i;
    if (s.at_end())
        return false;
    ++s.i;
    while (s.cur() == ' ')
        ++s.i;
    char tok[8];
    int len = collect(s, tok, 6, ends_at_blank);
    if (len < 0)
        fail_token("number  of variables is too large (length > 5)\n", "", tok);
    if (s.at_end())
        return false;
    nb_var = std::atoi(tok);
    while (s.cur() == ' ')
        ++s.i;
    // The text may end right after the clause count (a file without a final
    // line end): the count is still complete. A text that ends before the
    // count lacks it.
    len = collect(s, tok, 7, ends_count);
    if (len < 0)
        fatal("number  of cubes is too large(length > 6)\n");
    if (len == 0 && s.at_end())
        return false;
    nb_clause = std::atoi(tok);
    return true;
}

// Skips the rest of the current line and the comment and CR-only lines after it.
bool skip_to_clause_line(Scanner &s) {
    if (!s.to_line_feed())
        return false;
    while (s.i + 1 < s.end &&
           (is_comment_start(s.next()) || s.next() == '\r')) {
        ++s.i;
        if (!s.to_line_feed())
            return false;
    }
    return true;
}

[[noreturn]] void fail_range(bool negative, int v, int clause_no) {
    fatal("literal " + std::string(negative ? "-" : "") + std::to_string(v) + " out of range in clause " +
          std::to_string(clause_no) + "\n");
}

enum class ClauseEnd { Complete, Dropped, EndOfText };

// Reads the literals of one clause line into clause, up to its terminating 0.
// A literal that repeats while its complement is also present drops the whole
// clause as always true.
ClauseEnd read_clause(Scanner &s, IntArray &clause, IntArray &lit_mark, int nb_var, int clause_no) {
    char tok[8];
    for (;;) {
        while (is_gap(s.cur()))
            ++s.i;
        if (s.at_end())
            return ClauseEnd::EndOfText;
        bool negative = false;
        if (s.cur() == '-') {
            negative = true;
            ++s.i;
        }
        if (s.cur() == '0')
            return ClauseEnd::Complete;
        if (collect(s, tok, 6, ends_literal) < 0)
            fail_token("\n number  of variables is too large", "(length > 5)\n", tok);
        if (s.at_end()) // the clause line ends without its 0
            return ClauseEnd::EndOfText;
        int v = std::atoi(tok);
        if (v < 1 || v > nb_var)
            fail_range(negative, v, clause_no);
        int code = dimacs_to_code(v, negative);
        if (lit_mark[code] != clause_no) {
            clause.Append(code);
            lit_mark[code] = clause_no;
        } else if (lit_mark[lit_neg(code)] == clause_no) {
            clause.SetSize(0, -1);
            while (!s.at_end() && s.cur() != '0')
                ++s.i;
            return s.at_end() ? ClauseEnd::EndOfText : ClauseEnd::Dropped;
        }
    }
}

} // namespace

bool raspok_dnf(std::string &text, Dnf &dnf, int &nb_var) {
    nb_var = 0;
    if (text.size() < 3)
        fatal("a CNF is empty (not opened?)\n");
    Scanner s{text.data(), text.size() - 1};
    int nb_clause = 0;
    if (!find_problem_line(s) || !read_problem_line(s, nb_var, nb_clause))
        return false;

    dnf.SetSize(nb_clause, -1);
    IntArray lit_mark; // per code: the clause line that last stored it
    lit_mark.SetSize(2 * nb_var, -1);

    int clause_no = 0;
    for (int slot = 0; slot < nb_clause;) {
        ++clause_no;
        if (!skip_to_clause_line(s))
            return false;
        IntArray &clause = dnf[slot];
        clause.SetSize(0, 3);
        switch (read_clause(s, clause, lit_mark, nb_var, clause_no)) {
        case ClauseEnd::EndOfText:
            return false;
        case ClauseEnd::Dropped:
            --nb_clause; // the next clause line refills this slot
            break;
        case ClauseEnd::Complete:
            ++slot;
            break;
        }
    }
    dnf.SetSize(nb_clause, -1);
    return true;
}
