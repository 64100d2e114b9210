#!/bin/bash
# The layers include only downwards: driver/ over the library (include/vetrix,
# api/) over solver/, reader/ and support/. The lower layers may use the
# public headers that hold plain types (vetrix/error.h, vetrix/statistics.h,
# vetrix/progress.h, vetrix/verdict.h, vetrix/strategy.h, vetrix/export.h), which include
# nothing else of the project.
# The command line is a client of the public library: a driver file includes
# the public headers (vetrix/...) and the driver's own files only.
# Nothing above the solver layer includes the solver's state (base_m456.h).
# No source of the program or the library includes <iostream>: its static
# set-up of the standard streams would touch half a megabyte of the C++
# library's locale code at every start.
# Usage: layers.sh SOURCE_DIR
set -euo pipefail
cd "$1"
plain="include/vetrix/error.h include/vetrix/statistics.h include/vetrix/progress.h include/vetrix/verdict.h include/vetrix/strategy.h include/vetrix/export.h"
upward=$(
  grep -nE '#include "(driver|api)/' api/* solver/*.* solver/fast/* reader/* support/* include/vetrix/* |
    grep -v '^api/[^:]*:[0-9]*:#include "api/' || true
  grep -n '#include "vetrix/' solver/*.* solver/fast/* reader/* support/* | grep -vE '"vetrix/(error|statistics|progress|verdict|strategy|export)\.h"' || true
  grep -n '#include "' driver/*.* | grep -vE '"(vetrix|driver)/' || true
  # vetrix-mpi is a client of the public library, like the command line
  grep -n '#include "' driver/mpi/* | grep -vE '"(vetrix/|driver/mpi/|driver/signals\.h)' || true
  # shellcheck disable=SC2086 # the names are separate words
  grep -n '#include "' $plain | grep -v '"vetrix/export.h"' || true
)
[ -z "$upward" ] || { echo "includes that run back up:"; echo "$upward"; exit 1; }
# The solver's state stays inside the solver layer: above it, the library
# and the programs reach the solver through solver/engine.h only.
state=$(grep -rn '#include "solver/base_m456.h"' driver/ api/* include/vetrix/* python/*.cpp python/*.h || true)
[ -z "$state" ] || { echo "the solver's state included above the solver layer:"; echo "$state"; exit 1; }
streams=$(grep -rn '#include <iostream>' driver/ api/* solver/ reader/* support/* include/vetrix/* || true)
[ -z "$streams" ] || { echo "<iostream> in the program or the library:"; echo "$streams"; exit 1; }
echo "every include runs downwards; the command line includes public headers only; the solver's state stays in solver/; no <iostream>"
