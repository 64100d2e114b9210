// The table of options on every face: each face takes each option meant for
// it, and refuses a bad value, or an option not meant for it, with the same
// line on every face.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <vetrix/ipasir.h>
#include <vetrix/vetrix.h>
#include <vetrix/vetrix_c.h>

#include "support/harness.h"
#include "tools/cnfgen.h"

namespace {

// A value each kind takes, and one it refuses.
struct Values {
    std::string good, bad;
};

Values values_of(const vetrix::OptionInfo &info, const std::string &scratch) {
    const std::string choices = info.choices;
    switch (info.kind) {
    case vetrix::OptionKind::flag:
        return {"1", "maybe"};
    case vetrix::OptionKind::count:
        return {"5", "-1"};
    case vetrix::OptionKind::seconds:
        return {"5", "0"};
    case vetrix::OptionKind::choice:
    case vetrix::OptionKind::list: // the last word: the strategy "fast"
        return {choices.substr(choices.rfind(',') + 1), "x"};
    case vetrix::OptionKind::text:
        return {scratch, ""};
    }
    return {};
}

// What each face answers to name=value: "" when taken, else its message.
// Face is vetrix::Options (the one-shot calls) or vetrix::Solver.
template <class Face> std::string set_on(const std::string &name, const std::string &value) {
    Face face;
    try {
        face.set(name, value);
        return "";
    } catch (const vetrix::Error &e) {
        return e.message();
    }
}

std::string one_shot(const std::string &name, const std::string &value) {
    return set_on<vetrix::Options>(name, value);
}

std::string incremental(const std::string &name, const std::string &value) {
    return set_on<vetrix::Solver>(name, value);
}

std::string c_call(const std::string &name, const std::string &value) {
    vetrix_options *options = vetrix_options_new();
    const int status = vetrix_set_option(options, name.c_str(), value.c_str());
    const std::string message = vetrix_options_error(options);
    vetrix_options_delete(options);
    return status == 0 ? "" : message + "\n";
}

std::string ipasir(const std::string &name, const std::string &value) {
    void *solver = ipasir_init();
    const int status = vetrix_ipasir_set_option(solver, name.c_str(), value.c_str());
    const std::string message = vetrix_ipasir_option_error(solver);
    ipasir_release(solver);
    return status == 0 ? "" : message + "\n";
}

// The command line's line on standard error, when it refuses the option.
std::string command_line(const std::string &name, const std::string &value, harness::ScratchDir &dir) {
    const std::string err = dir.path("err");
    const harness::RunResult run = harness::run_vetrix(
        {"--" + name + "=" + value, harness::source_path("tests/inputs/unit-pair-repeated-literals.cnf")}, "", err);
    const std::string text = harness::read_file(err);
    const bool refused = text.rfind("vetrix: unknown option", 0) == 0 || text.rfind("vetrix: bad value", 0) == 0 ||
                         text.find("is not taken") != std::string::npos;
    return refused || (run.status != 0 && run.status != 1) ? text + std::to_string(run.status) : "";
}

TEST(OptionTable, EveryFaceTakesItsOptionsAndRefusesBadValuesAlike) {
    harness::ScratchDir dir;
    const std::string scratch = dir.path("scratch");
    const auto expect_face = [](const vetrix::OptionInfo &info, vetrix::OptionFace face, const std::string &good,
                                const std::string &answer) {
        const std::string refused = vetrix::option_message(info.name, good, face) + "\n";
        EXPECT_EQ(answer, (info.faces & face) ? "" : refused) << info.name << " face " << face;
    };
    // --help lists the rows the command line takes, and it refuses the others.
    const std::string help = harness::run_vetrix({"--help"}).out;
    for (const vetrix::OptionInfo &info : vetrix::option_table()) {
        SCOPED_TRACE(info.name);
        const auto [good, bad] = values_of(info, scratch);
        expect_face(info, vetrix::FACE_ONE_SHOT, good, one_shot(info.name, good));
        expect_face(info, vetrix::FACE_ONE_SHOT, good, c_call(info.name, good));
        expect_face(info, vetrix::FACE_INCREMENTAL, good, incremental(info.name, good));
        expect_face(info, vetrix::FACE_INCREMENTAL, good, ipasir(info.name, good));
        const bool listed = help.find("\n  --" + std::string(info.name)) != std::string::npos;
        EXPECT_EQ(listed, (info.faces & vetrix::FACE_COMMAND_LINE) != 0);
        const std::string refused =
            vetrix::option_message(info.name, good, vetrix::FACE_COMMAND_LINE) + (listed ? "" : "\n1");
        EXPECT_EQ(command_line(info.name, good, dir), refused);
        const std::string message = "vetrix: bad value '" + bad + "' for option '--" + info.name + "'\n";
        for (const std::string &answer : {one_shot(info.name, bad), c_call(info.name, bad),
                                          incremental(info.name, bad), ipasir(info.name, bad)})
            EXPECT_EQ(answer, message);
        EXPECT_EQ(command_line(info.name, bad, dir), message + "1");
    }
    const std::string unknown = "vetrix: unknown option '--no-such'\n";
    for (const std::string &answer : {one_shot("no-such", "1"), c_call("no-such", "1"), incremental("no-such", "1"),
                                      ipasir("no-such", "1")})
        EXPECT_EQ(answer, unknown);
    EXPECT_EQ(command_line("no-such", "1", dir), unknown + "1");
}

// The bounds of the search reach the one-shot calls, the C interface and
// the command line alike: the search stops at the bound, unknown.
TEST(OptionTable, LimitsStopEveryFacesSearch) {
    const cnfgen::Formula php = cnfgen::pigeonhole(8);
    for (const char *name : {"conflicts", "decisions", "propagations"}) {
        SCOPED_TRACE(name);
        vetrix::Options options;
        options.set(name, "40");
        const vetrix::Result r = vetrix::solve(php.nb_var, php.clauses, options);
        EXPECT_EQ(r.verdict, vetrix::Verdict::unknown);
        const std::uint64_t counted = std::string(name) == "conflicts"   ? r.stats.conflicts
                                      : std::string(name) == "decisions" ? r.stats.decisions
                                                                         : r.stats.propagations;
        EXPECT_GE(counted, 40u);
        EXPECT_LT(counted, 40u + static_cast<std::uint64_t>(php.nb_var));
    }
    std::vector<int> lits;
    for (const std::vector<int> &clause : php.clauses) {
        lits.insert(lits.end(), clause.begin(), clause.end());
        lits.push_back(0);
    }
    for (const auto &[name, value] : {std::pair<const char *, const char *>{"time", "0.001"}, {"conflicts", "40"}}) {
        vetrix_options *options = vetrix_options_new();
        ASSERT_EQ(vetrix_set_option(options, name, value), 0);
        EXPECT_EQ(vetrix_solve_options(options, php.nb_var, lits.data(), lits.size(), nullptr, nullptr, nullptr,
                                       nullptr, 0),
                  0)
            << name;
        vetrix_options_delete(options);
    }
    harness::ScratchDir dir;
    const std::string path = dir.path("php.cnf"), err = dir.path("err");
    std::ofstream(path) << cnfgen::render_plain(php.nb_var, php.clauses);
    EXPECT_EQ(harness::run_vetrix({"--conflicts=40", "--stats", path}, "", err).out, "s UNKNOWN\n");
    EXPECT_EQ(harness::stat_value(harness::read_file(err), "conflicts"), 40);
}

} // namespace
