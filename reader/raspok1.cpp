// raspok1, the DIMACS CNF reader: the problem line, the clause lines and
// their comments, read from a window over the input's blocks; clauses are
// assembled by reader/clause_builder and every input error leaves through
// fatal().
#include "reader/raspok1.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "reader/clause_builder.h"
#include "reader/text_window.h"
#include "support/uponeub.h"

namespace vetrix {

namespace {

bool is_comment_start(unsigned char c) { return c == 'c' || c == 0xF1; }
bool ends_at_blank(unsigned char c) { return c == ' '; }
bool ends_count(unsigned char c) { return c == ' ' || c == '\n'; }

// Blanks, tabs, line feeds and carriage returns: the gaps between literals,
// and the bytes that end a literal token. One table look-up per byte.
struct GapTable {
    bool gap[256] = {};
    constexpr GapTable() {
        gap[static_cast<unsigned char>(' ')] = gap[static_cast<unsigned char>('\t')] = true;
        gap[static_cast<unsigned char>('\n')] = gap[static_cast<unsigned char>('\r')] = true;
    }
};
constexpr GapTable GAPS;
inline bool is_gap(char c) { return GAPS.gap[static_cast<unsigned char>(c)]; }
inline bool ends_literal(char c) { return is_gap(c); }

// The message of a token that is one character too long: head, tail, then
// the seven characters read.
[[noreturn]] void fail_token(const char *head, const char *tail, const char *tok) {
    fatal(std::string(head) + tail + std::string(tok, 7) + "\n");
}

// Collects a number token of at most `limit` characters into tok, ending at a
// character for which `ends` is true or at the end of the text. Returns the
// token length, or -1 when the limit is exceeded (tok then holds limit + 1
// characters).
template <class Ends> int collect(TextWindow &w, char *tok, int limit, Ends ends) {
    int len = 0;
    while (!w.at_end() && !ends(w.cur())) {
        if (len == limit) {
            tok[len] = *w.p;
            return -1;
        }
        tok[len++] = *w.p++;
    }
    tok[len] = '\0';
    return len;
}

// Moves to the next line feed, staying on the current one if it is one.
bool to_line_feed(TextWindow &w) { return w.to_byte('\n'); }

// Finds the problem line: at position 0, or after leading comment lines.
bool find_problem_line(TextWindow &w) {
    unsigned char first = w.cur();
    if (first == 'p')
        return true;
    if (!is_comment_start(first))
        fatal("it is not a CNF\n");
    do {
        if (!to_line_feed(w))
            return false;
        ++w.p;
    } while (!w.at_end() && w.cur() != 'p');
    return !w.at_end();
}

void skip_blanks(TextWindow &w) {
    while (w.cur() == ' ')
        ++w.p;
}

// Reads "p <word ending in f> <vars> <clauses>".
bool read_problem_line(TextWindow &w, int &nb_var, int &nb_clause) {
    if (!w.to_byte('f'))
        return false;
    ++w.p;
    skip_blanks(w);
    char tok[8];
    int len = collect(w, tok, 6, ends_at_blank);
    if (len < 0)
        fail_token("number  of variables is too large (length > 5)\n", "", tok);
    if (w.at_end())
        return false;
    nb_var = std::atoi(tok);
    skip_blanks(w);
    // The text may end right after the clause count (a file without a final
    // line end): the count is still complete. A text that ends before the
    // count lacks it.
    len = collect(w, tok, 7, ends_count);
    if (len < 0)
        fatal("number  of cubes is too large(length > 6)\n");
    if (len == 0 && w.at_end())
        return false;
    nb_clause = std::atoi(tok);
    return true;
}

// Skips the rest of the current line and the comment and CR-only lines after it.
bool skip_to_clause_line(TextWindow &w) {
    // Mostly a byte or two after the clause's 0: a plain loop, stopped by a
    // line feed or the NUL at the window's end (or one in the text).
    const char *p = w.p;
    while (*p != '\n' && *p != '\0')
        ++p;
    w.p = p;
    if (*p != '\n' && !to_line_feed(w))
        return false;
    while (w.ahead(2) && (is_comment_start(static_cast<unsigned char>(w.p[1])) || w.p[1] == '\r')) {
        ++w.p;
        if (!to_line_feed(w))
            return false;
    }
    return true;
}

// Skips blanks, tabs, line feeds and carriage returns. The sentinel stops the
// loop at the end of the window.
inline void skip_gaps(TextWindow &w) {
    do {
        while (is_gap(*w.p))
            ++w.p;
    } while (w.p == w.lim && w.ahead(1));
}

// A token that is not a plain number, from its first character that is
// not a digit at t + n on: its length, or 7 when it is too long; its value
// as atoi reads it.
int odd_token(const char *t, int n, const char *lim, int &v) {
    while (n < 7 && t + n != lim && !ends_literal(t[n]))
        ++n;
    if (n < 7) {
        char tok[8];
        for (int j = 0; j < n; ++j)
            tok[j] = t[j];
        tok[n] = '\0';
        v = std::atoi(tok);
    }
    return n;
}

enum class ClauseEnd { Complete, Dropped, EndOfText };

// The eight bytes from t on, the first in the lowest byte.
inline std::uint64_t eight_bytes(const char *t) {
    std::uint64_t x;
    std::memcpy(&x, t, sizeof x);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    x = __builtin_bswap64(x);
#endif
    return x;
}

constexpr std::uint64_t EACH_BYTE = 0x0101010101010101u;

// How many of the eight bytes x holds are digits before the first one
// that is not (8 when all are). A byte is a digit when its high half is 3,
// also after adding 6 to it; a carry out of a byte comes from one that is no
// digit, so it cannot hide the first one that is not.
inline int leading_digits(std::uint64_t x) {
    const std::uint64_t high = 0xF0 * EACH_BYTE;
    const std::uint64_t other = ((x & high) ^ (0x30 * EACH_BYTE)) | (((x + 6 * EACH_BYTE) & high) ^ (0x30 * EACH_BYTE));
    return other == 0 ? 8 : __builtin_ctzll(other) / 8;
}

// The value of the first n bytes of x, digits (n from 1 to 7), without a
// branch: the digits are moved to the top bytes, below them zeros count as
// leading zeros, and pairs, fours and eights of digits are combined by
// multiplications.
inline int digits_value(std::uint64_t x, int n) {
    x = (x & (0x0F * EACH_BYTE)) << (8 * (8 - n));
    x = (x * 10 + (x >> 8)) & 0x00FF00FF00FF00FFu;
    x = (x * 100 + (x >> 16)) & 0x0000FFFF0000FFFFu;
    x = x * 10000 + (x >> 32);
    return static_cast<int>(x & 0xFFFFFFFFu);
}

// The literals of a clause line from w.p on while they are plain (a
// number of at most six digits, perhaps signed, ended by a gap) and the
// window holds the longest token ahead; the position is kept in a register
// meanwhile. Leaves w.p at the first token it does not take (gaps skipped),
// or returns how the clause ended.
std::optional<ClauseEnd> read_plain_literals(TextWindow &w, ClauseBuilder &builder) {
    const char *p = w.p;
    const char *const lim = w.lim;
    for (;;) {
        while (is_gap(*p)) // the NUL at lim ends the run of gaps
            ++p;
        if (lim - p < 16)
            break;
        const bool negative = *p == '-';
        const char *t = p + negative;
        if (*t == '0') {
            w.p = t;
            return ClauseEnd::Complete;
        }
        const std::uint64_t x = eight_bytes(t);
        const int n = leading_digits(x);
        if (n == 0 || n > 6)
            break;
        const char end = static_cast<char>(x >> (8 * n));
        if (end != ' ' && !ends_literal(end))
            break;
        p = t + n;
        if (builder.add_literal(digits_value(x, n), negative) == ClauseBuilder::Added::Dropped) {
            w.p = p;
            return w.to_byte('0') ? ClauseEnd::Dropped : ClauseEnd::EndOfText;
        }
    }
    w.p = p;
    return std::nullopt;
}

// Reads the literals of one clause line, up to its terminating 0, into the
// builder. A literal token ends at a blank, tab, line feed or carriage
// return; a dropped clause is skipped up to the next "0" character. Plain
// literals go the quick way; a token that is not plain, or one near the end
// of the window, is read here.
ClauseEnd read_clause(TextWindow &w, ClauseBuilder &builder) {
    for (;;) {
        if (const std::optional<ClauseEnd> end = read_plain_literals(w, builder))
            return *end;
        skip_gaps(w);
        if (w.at_end())
            return ClauseEnd::EndOfText;
        bool negative = false;
        if (*w.p == '-') {
            negative = true;
            ++w.p;
        }
        // Eight bytes ahead hold any token of seven characters and its end,
        // unless the text ends first.
        w.ahead(8);
        if (*w.p == '0')
            return ClauseEnd::Complete;
        // Digits are read and valued in one go; the sentinel is no digit.
        const char *t = w.p;
        int n = 0;
        int v = 0;
        for (unsigned digit; n < 7 && (digit = static_cast<unsigned char>(t[n]) - '0') <= 9; ++n)
            v = 10 * v + static_cast<int>(digit);
        if (n < 7 && t + n != w.lim && !ends_literal(t[n]))
            n = odd_token(t, n, w.lim, v);
        if (n == 7)
            fail_token("\n number  of variables is too large", "(length > 5)\n", t);
        w.p += n;
        if (w.p == w.lim) // the clause line ends without its 0
            return ClauseEnd::EndOfText;
        if (builder.add_literal(v, negative) == ClauseBuilder::Added::Dropped)
            return w.to_byte('0') ? ClauseEnd::Dropped : ClauseEnd::EndOfText;
    }
}

} // namespace

bool raspok_dnf(ByteSource &input, Formula &formula, int &nb_var) {
    nb_var = 0;
    TextWindow w(input);
    if (!w.ahead(2))
        fatal("a CNF is empty (not opened?)\n");
    int nb_clause = 0;
    if (!find_problem_line(w) || !read_problem_line(w, nb_var, nb_clause))
        return false;

    ClauseBuilder builder(formula, nb_var, nb_clause);
    // A dropped clause line lowers the count still to read: the next line
    // takes its place.
    for (int stored = 0; stored < nb_clause;) {
        builder.begin_clause();
        if (!skip_to_clause_line(w))
            return false;
        const ClauseEnd end = read_clause(w, builder);
        if (end == ClauseEnd::EndOfText)
            return false;
        if (builder.end_clause())
            ++stored;
        else
            --nb_clause;
    }
    return true;
}

bool raspok_dnf(const std::string &text, Formula &formula, int &nb_var) {
    StringSource input(text.data(), text.empty() ? 0 : text.size() - 1);
    return raspok_dnf(input, formula, nb_var);
}

} // namespace vetrix
