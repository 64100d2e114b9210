// The table of options and the reading of their values. A row names an
// option once: its kind, range, default, faces and help, and where it goes
// in vetrix::Options (none for the command line's own options, which the
// command line applies itself).
#include "vetrix/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "support/uponeub.h"
#include "vetrix/vetrix.h"

namespace vetrix {

namespace {

constexpr unsigned ALL = FACE_COMMAND_LINE | FACE_ONE_SHOT | FACE_INCREMENTAL;
constexpr double NO_RANGE = 0;
constexpr double MAX_SECONDS = 1e9;  // about 31 years
constexpr double MAX_COUNT = 1e18;   // within a counter, exact as a double
constexpr const char *STRATEGIES = "0,1,2,fast"; // the index of a word is Options::strategy
// The lanes of --portfolio without a list: the two that won most often on
// two cores (bench/results/2026-12-10-*-portfolio-lanes).
constexpr const char *DEFAULT_LANES = "fast,0";

struct OptionRow {
    OptionInfo info;
    // Null for an option Options does not hold: the command line's own, and
    // the proof file, which the command line and Solver::set open themselves.
    void (*store)(Options &options, const OptionValue &value);
};

const OptionRow ROWS[] = {
    {{"help", OptionKind::flag, "", NO_RANGE, NO_RANGE, "", "", FACE_COMMAND_LINE | FACE_MPI, "print this text and exit"},
     nullptr},
    {{"version", OptionKind::flag, "", NO_RANGE, NO_RANGE, "", "", FACE_COMMAND_LINE | FACE_MPI, "print the version and exit"},
     nullptr},
    {{"stats", OptionKind::flag, "", NO_RANGE, NO_RANGE, "", "", FACE_COMMAND_LINE | FACE_MPI,
      "write search counters, memory and time to standard error"},
     nullptr},
    {{"verbose", OptionKind::flag, "", NO_RANGE, NO_RANGE, "", "", FACE_COMMAND_LINE,
      "write a line of search progress to standard error every so often"},
     nullptr},
    {{"proof", OptionKind::text, "FILE", NO_RANGE, NO_RANGE, "", "", FACE_COMMAND_LINE | FACE_INCREMENTAL | FACE_MPI,
      "write a DRAT proof to FILE ('-' standard output, text only)"},
     nullptr},
    {{"binary-proof", OptionKind::flag, "", NO_RANGE, NO_RANGE, "", "", ALL,
      "write the proof in binary DRAT (or binary LRAT)"},
     [](Options &o, const OptionValue &v) { o.binary_proof = v.on; }},
    {{"lrat", OptionKind::flag, "", NO_RANGE, NO_RANGE, "", "", ALL,
      "write the proof in LRAT: clause IDs and the hints of each step"},
     [](Options &o, const OptionValue &v) { o.lrat = v.on; }},
    {{"time", OptionKind::seconds, "SECONDS", 0, MAX_SECONDS, "", "", ALL | FACE_MPI,
      "stop the search after SECONDS of wall time: s UNKNOWN"},
     [](Options &o, const OptionValue &v) { o.time_limit = v.seconds; }},
    {{"portfolio", OptionKind::list, "LIST", NO_RANGE, NO_RANGE, "", STRATEGIES, FACE_COMMAND_LINE | FACE_ONE_SHOT,
      "race strategies fast,0 (or LIST) in threads: the first verdict wins"},
     [](Options &o, const OptionValue &v) { o.strategies = v.list; }},
    {{"strategy", OptionKind::choice, "N", NO_RANGE, NO_RANGE, "0", STRATEGIES, ALL | FACE_MPI,
      "branching strategy N (0, 1, 2 as the argument n; fast: the fast engine)"},
     [](Options &o, const OptionValue &v) { o.strategy = v.choice; }},
    {{"conflicts", OptionKind::count, "N", 0, MAX_COUNT, "0", "", ALL,
      "stop the search after N conflicts (0 none): s UNKNOWN"},
     [](Options &o, const OptionValue &v) { o.conflict_limit = v.count; }},
    {{"decisions", OptionKind::count, "N", 0, MAX_COUNT, "0", "", ALL,
      "stop the search after N decisions (0 none): s UNKNOWN"},
     [](Options &o, const OptionValue &v) { o.decision_limit = v.count; }},
    {{"propagations", OptionKind::count, "N", 0, MAX_COUNT, "0", "", ALL,
      "stop the search after N literals set (0 none): s UNKNOWN"},
     [](Options &o, const OptionValue &v) { o.propagation_limit = v.count; }},
    {{"warm-start", OptionKind::flag, "", NO_RANGE, NO_RANGE, "", "", FACE_COMMAND_LINE | FACE_INCREMENTAL | FACE_MPI,
      "decide in the polarity of the last model, from the second call of a p inccnf file on"},
     [](Options &o, const OptionValue &v) { o.warm_start = v.on; }},
    // vetrix-mpi's own: how it splits, shares and records the cube tree.
    {{"budget", OptionKind::count, "CONFLICTS", 1, MAX_COUNT, "3000", "", FACE_MPI,
      "conflicts of one attempt at a cube before it is split in two"},
     nullptr},
    {{"share", OptionKind::count, "LENGTH", 0, 1000, "3", "", FACE_MPI,
      "share the workers' learnt clauses of at most LENGTH literals (0 none)"},
     nullptr},
    {{"tree", OptionKind::text, "FILE", NO_RANGE, NO_RANGE, "", "", FACE_MPI,
      "record the cube tree in FILE, one line per cube"},
     nullptr},
};

const OptionRow *row_of(std::string_view name) {
    for (const OptionRow &row : ROWS)
        if (name == row.info.name)
            return &row;
    return nullptr;
}

// The index of word among the comma-separated words, or -1.
int word_index(const char *words, std::string_view word) {
    const std::string_view all(words);
    int index = 0;
    for (std::size_t start = 0; start <= all.size(); ++index) {
        std::size_t end = all.find(',', start);
        if (end == std::string_view::npos)
            end = all.size();
        if (all.substr(start, end - start) == word && !word.empty())
            return index;
        start = end + 1;
    }
    return -1;
}

bool parse_flag(std::string_view text, bool &on) {
    on = text.empty() || text == "1" || text == "true";
    return on || text == "0" || text == "false";
}

// Digits only: no sign, no blanks, nothing after them.
bool parse_count(const OptionInfo &info, const std::string &text, std::int64_t &count) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value < info.min || value > info.max)
        return false;
    count = value;
    return true;
}

bool parse_seconds(const OptionInfo &info, const std::string &text, double &seconds) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return false;
    char *end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value) || value <= info.min || value > info.max)
        return false;
    seconds = value;
    return true;
}

// The empty text is the default lanes.
bool parse_list(const OptionInfo &info, std::string_view text, std::vector<int> &list) {
    list.clear();
    if (text.empty())
        text = DEFAULT_LANES;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos)
            end = text.size();
        const int index = word_index(info.choices, text.substr(start, end - start));
        for (int listed : list)
            if (listed == index)
                return false;
        if (index < 0)
            return false;
        list.push_back(index);
        start = end + 1;
    }
    return true;
}

const char *face_name(OptionFace face) {
    switch (face) {
    case FACE_COMMAND_LINE:
        return "the command line";
    case FACE_ONE_SHOT:
        return "a one-shot solve";
    case FACE_MPI:
        return "vetrix-mpi";
    default:
        return "an incremental solver";
    }
}

} // namespace

const std::vector<OptionInfo> &option_table() {
    static const std::vector<OptionInfo> table = [] {
        std::vector<OptionInfo> infos;
        for (const OptionRow &row : ROWS)
            infos.push_back(row.info);
        return infos;
    }();
    return table;
}

const OptionInfo *find_option(std::string_view name) {
    const OptionRow *row = row_of(name);
    return row ? &row->info : nullptr;
}

bool parse_option_value(const OptionInfo &info, std::string_view text, OptionValue &value) {
    const std::string copy(text);
    switch (info.kind) {
    case OptionKind::flag:
        return parse_flag(text, value.on);
    case OptionKind::count:
        return parse_count(info, copy, value.count);
    case OptionKind::seconds:
        return parse_seconds(info, copy, value.seconds);
    case OptionKind::choice:
        value.choice = word_index(info.choices, text);
        return value.choice >= 0;
    case OptionKind::list:
        return parse_list(info, text, value.list);
    case OptionKind::text:
        value.text = copy;
        return !copy.empty();
    }
    return false;
}

std::string option_message(std::string_view name, std::string_view value, OptionFace face) {
    const std::string option = "'--" + std::string(name) + "'";
    const OptionRow *row = row_of(name);
    if (!row)
        return "vetrix: unknown option " + option;
    OptionValue parsed;
    if (!parse_option_value(row->info, value, parsed))
        return "vetrix: bad value '" + std::string(value) + "' for option " + option;
    if (!(row->info.faces & face))
        return "vetrix: option " + option + " is not taken by " + face_name(face);
    return "";
}

std::string read_option_argument(std::string_view arg, OptionFace face, OptionArgument &argument) {
    const std::string_view body = arg.substr(2);
    const std::size_t eq = body.find('=');
    argument.name = std::string(body.substr(0, eq));
    argument.value = eq == std::string_view::npos ? std::string() : std::string(body.substr(eq + 1));
    std::string message = option_message(argument.name, argument.value, face);
    if (message.empty())
        parse_option_value(*find_option(argument.name), argument.value, argument.parsed);
    return message;
}

std::string option_help(OptionFace face) {
    std::string text;
    for (const OptionRow &row : ROWS) {
        const OptionInfo &info = row.info;
        if (!(info.faces & face))
            continue;
        std::string left = std::string("--") + info.name;
        if (info.kind == OptionKind::list)
            left += std::string("[=") + info.arg + "]";
        else if (info.kind != OptionKind::flag)
            left += std::string("=") + info.arg;
        left.resize(left.size() < 20 ? 20 : left.size() + 1, ' ');
        text += "  " + left + info.help + "\n";
    }
    return text;
}

void set_option(Options &options, std::string_view name, std::string_view value, OptionFace face) {
    const std::string message = option_message(name, value, face);
    if (!message.empty())
        fatal(message + "\n");
    const OptionRow &row = *row_of(name);
    OptionValue parsed;
    parse_option_value(row.info, value, parsed);
    if (row.store)
        row.store(options, parsed);
}

void Options::set(std::string_view name, std::string_view value) { set_option(*this, name, value, FACE_ONE_SHOT); }

} // namespace vetrix
