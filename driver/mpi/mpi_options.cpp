#include "driver/mpi/mpi_options.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace vetrix {

namespace {

bool to_double(const std::string &text, double &out) {
    char *end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && out >= 0;
}

bool to_int64(const std::string &text, std::int64_t min, std::int64_t max, std::int64_t &out) {
    char *end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < min || v > max)
        return false;
    out = v;
    return true;
}

// One option, --name or --name=value; false with error set when it is
// unknown or its value is bad.
bool apply(const std::string &arg, MpiOptions &o, std::string &error) {
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    const bool has_value = eq != std::string::npos;
    const std::string value = has_value ? arg.substr(eq + 1) : "";
    std::int64_t n = 0;
    bool ok = has_value;
    if (name == "stats") {
        ok = !has_value;
        o.stats = true;
    } else if (name == "time") {
        ok = ok && to_double(value, o.time_limit);
    } else if (name == "proof" || name == "tree") {
        ok = ok && !value.empty();
        (name == "proof" ? o.proof : o.tree) = value;
    } else if (name == "strategy") {
        ok = ok && to_int64(value, 0, 2, n);
        o.strategy = static_cast<int>(n);
    } else if (name == "budget") {
        ok = ok && to_int64(value, 1, INT64_MAX, o.budget);
    } else if (name == "share") {
        ok = ok && to_int64(value, 0, 1000, n);
        o.share = static_cast<int>(n);
    } else if (name == "warm-start") {
        ok = ok && to_int64(value, 0, 1, n);
        o.warm_start = n == 1;
    } else {
        error = "vetrix-mpi: unknown option '--" + name + "'";
        return false;
    }
    if (!ok)
        error = "vetrix-mpi: bad value '" + value + "' for option '--" + name + "'";
    return ok;
}

} // namespace

bool parse_mpi_options(int argc, char **argv, MpiOptions &options, std::string &error) {
    std::vector<std::string> positional;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!options_end && arg == "--")
            options_end = true;
        else if (!options_end && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            if (!apply(arg, options, error))
                return false;
        } else
            positional.push_back(arg);
    }
    if (positional.size() != 1) {
        error = "usage: vetrix-mpi [--time=S] [--proof=FILE] [--strategy=N] [--budget=CONFLICTS] [--share=LENGTH] "
                "[--warm-start=0|1] [--tree=FILE] [--stats] FILE";
        return false;
    }
    options.file = positional[0];
    return true;
}

} // namespace vetrix
