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

} // namespace

bool read_inccnf_head(ByteSource &input, std::string &head) {
    static const std::string word = "p inccnf";
    char buf[HEAD_STEP];
    for (;;) {
        const long at = problem_line(head);
        if (at == -2)
            return false;
        if (at >= 0 && head.size() >= static_cast<std::size_t>(at) + word.size() + 1)
            return head.compare(static_cast<std::size_t>(at), word.size(), word) == 0 &&
                   is_gap(head[static_cast<std::size_t>(at) + word.size()]);
        const std::size_t n = input.read(buf, sizeof buf);
        if (n == 0)
            return false;
        head.append(buf, n);
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
