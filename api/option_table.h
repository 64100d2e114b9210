// Setting an option of the table (vetrix/options.h) in vetrix::Options,
// for the faces that keep their settings in one.
#pragma once

#include <string_view>

#include "vetrix/options.h"
#include "vetrix/vetrix.h"

namespace vetrix {

// Sets option name to value in options as face takes it; fails (fatal)
// with option_message()'s line. The command line's own options (help,
// proof, ...) are checked but change nothing here.
void set_option(Options &options, std::string_view name, std::string_view value, OptionFace face);

} // namespace vetrix
