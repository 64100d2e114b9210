#!/bin/sh
# The golden comparison: every golden case under every strategy, byte for
# byte, by the comparison script of the golden folder. Without that folder
# the run says so and ends with status 77, which ctest reports as a skip.
# usage: tests/golden.sh GOLDEN_DIR VETRIX_BINARY
dir=$1
bin=$2
if [ ! -x "$dir/compare.sh" ]; then
  echo "golden outputs not found: no $dir/compare.sh; the byte-for-byte comparison was not run"
  exit 77
fi
exec "$dir/compare.sh" "$bin"
