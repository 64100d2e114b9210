#include "reader/inccnf.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "support/uponeub.h"

namespace vetrix {

namespace {

// Bytes looked at per read while the problem line is sought: a look ahead
// of a few bytes, so that a damaged compressed input is reported where the
// reader would have met it.
constexpr std::size_t HEAD_STEP = 64;
// The bytes of a problem line looked at, at most.
constexpr std::size_t LINE_MAX_BYTES = 256;

bool starts_comment(char c) { return c == 'c' || static_cast<unsigned char>(c) == 0xF1; }
bool is_gap(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The offset of the problem line in head, -1 when more bytes are needed to
// find it, -2 when the text has none the reader could take.
long problem_line(const std::string &head) {
    if (head.empty())
        return -1;
    if (head[0] == 'p')
        return 0;
    if (!starts_comment(head[0]))
        return -2;
    for (std::size_t at = head.find('\n'); at != std::string::npos; at = head.find('\n', at + 1))
        if (at + 1 < head.size() && head[at + 1] == 'p')
            return static_cast<long>(at + 1);
    return -1;
}

// What the problem line (from its p to its line end, or as much of it as
// was read) names. "p inccnf" and a gap begin an incremental file. A word
// that begins with inccnf after other gaps, with no counts after it, or a
// longer word that begins with inccnf, is a mistyped incremental problem
// line; every other line, counts included, is the plain reader's.
enum class Problem { plain, incremental, mistyped };

Problem problem_kind(const std::string &line) {
    static const std::string word = "inccnf";
    std::size_t k = 1;
    while (k < line.size() && (line[k] == ' ' || line[k] == '\t'))
        ++k;
    const std::size_t after = k + word.size();
    if (k == 1 || line.compare(k, word.size(), word) != 0 || after >= line.size())
        return Problem::plain;
    if (!is_gap(line[after]))
        return Problem::mistyped;
    if (k == 2 && line[1] == ' ')
        return Problem::incremental;
    for (std::size_t i = after; i < line.size(); ++i)
        if (!is_gap(line[i]))
            return Problem::plain;
    return Problem::mistyped;
}

} // namespace

bool read_inccnf_head(ByteSource &input, std::string &head) {
    char buf[HEAD_STEP];
    for (;;) {
        const long at = problem_line(head);
        if (at == -2)
            return false;
        const std::size_t end = at < 0 ? std::string::npos : head.find('\n', static_cast<std::size_t>(at));
        std::size_t n = 0;
        if (at < 0 || (end == std::string::npos && head.size() - static_cast<std::size_t>(at) < LINE_MAX_BYTES))
            n = input.read(buf, sizeof buf);
        if (n > 0) {
            head.append(buf, n);
            continue;
        }
        if (at < 0)
            return false;
        const std::size_t from = static_cast<std::size_t>(at);
        switch (problem_kind(head.substr(from, end == std::string::npos ? std::string::npos : end + 1 - from))) {
        case Problem::incremental:
            return true;
        case Problem::mistyped:
            fatal("wrong problem line: an incremental CNF begins with p inccnf\n");
        default:
            return false;
        }
    }
}

int InccnfReader::peek() {
    if (pos_ == end_) {
        end_ = text_.read(buf_.data(), buf_.size());
        pos_ = 0;
        if (end_ == 0)
            return -1;
    }
    return static_cast<unsigned char>(buf_[pos_]);
}

int InccnfReader::get() {
    const int c = peek();
    if (c >= 0)
        ++pos_;
    if (c == '\n')
        ++line_;
    at_line_start_ = c == '\n';
    return c;
}

void InccnfReader::skip_line() {
    for (int c = get(); c >= 0 && c != '\n'; c = get()) {
    }
}

std::string InccnfReader::token() {
    std::string t;
    while (peek() >= 0 && !is_gap(peek()))
        t.push_back(static_cast<char>(get()));
    return t;
}

int InccnfReader::literal(const std::string &t) {
    // A NUL byte would end the number for strtoll: it is refused on its own.
    if (t.find('\0') != std::string::npos)
        fatal("a NUL byte in line " + std::to_string(line_) + "\n");
    errno = 0;
    char *end = nullptr;
    const long long v = std::strtoll(t.c_str(), &end, 10);
    if (t.empty() || *end != '\0' || errno != 0 || v < INT_MIN || v > INT_MAX)
        fatal("wrong token " + t + " in line " + std::to_string(line_) + "\n");
    return static_cast<int>(v);
}

InccnfReader::Item InccnfReader::next(std::vector<int> &lits) {
    lits.clear();
    Item item = Item::clause;
    bool open = false; // a clause or assumption line has begun
    for (;;) {
        const int c = peek();
        if (c < 0) {
            if (open)
                fatal("something went wrong\n");
            return Item::end;
        }
        if (is_gap(c)) {
            get();
            continue;
        }
        if (at_line_start_ && !open && (c == 'p' || starts_comment(static_cast<char>(c)))) {
            skip_line();
            continue;
        }
        if (!open && c == 'a') {
            get();
            item = Item::assumptions;
            open = true;
            continue;
        }
        const int lit = literal(token());
        if (lit == 0)
            return item;
        lits.push_back(lit);
        open = true;
    }
}

} // namespace vetrix
