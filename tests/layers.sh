#!/bin/bash
# The layers include only downwards: driver/ over the library (include/vetrix,
# api/) over solver/, reader/ and support/. The lower layers may use the
# public headers that hold plain types (vetrix/error.h, vetrix/statistics.h,
# vetrix/progress.h, vetrix/export.h), which include nothing else of the project.
# No source of the program or the library includes <iostream>: its static
# set-up of the standard streams would touch half a megabyte of the C++
# library's locale code at every start.
# Usage: layers.sh SOURCE_DIR
set -euo pipefail
cd "$1"
plain="include/vetrix/error.h include/vetrix/statistics.h include/vetrix/progress.h include/vetrix/export.h"
upward=$(
  grep -nE '#include "(driver|api)/' api/* solver/*.* solver/fast/* reader/* support/* include/vetrix/* |
    grep -v '^api/[^:]*:[0-9]*:#include "api/' || true
  grep -n '#include "vetrix/' solver/*.* solver/fast/* reader/* support/* | grep -vE '"vetrix/(error|statistics|progress|export)\.h"' || true
  # shellcheck disable=SC2086 # the names are separate words
  grep -n '#include "' $plain | grep -v '"vetrix/export.h"' || true
)
[ -z "$upward" ] || { echo "includes that run back up:"; echo "$upward"; exit 1; }
streams=$(grep -n '#include <iostream>' driver/* api/* solver/*.* solver/fast/* reader/* support/* include/vetrix/* || true)
[ -z "$streams" ] || { echo "<iostream> in the program or the library:"; echo "$streams"; exit 1; }
echo "every include runs downwards; no <iostream>"
