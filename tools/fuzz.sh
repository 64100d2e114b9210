#!/bin/bash
# Builds the libFuzzer targets with clang into build-fuzz and fuzzes each for
# MINUTES minutes, one after the other, at low priority. Corpora persist in
# fuzz-corpus/TARGET (not in git) and grow from tests/fuzz/seeds (and, for
# the reader, tests/inputs); crashing inputs land in fuzz-corpus/artifacts.
# Usage: tools/fuzz.sh MINUTES [fuzz_reader] [fuzz_solve] [fuzz_fast]
set -euo pipefail
minutes=${1:?usage: tools/fuzz.sh MINUTES [fuzz_reader] [fuzz_solve] [fuzz_fast]}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_reader fuzz_solve fuzz_fast)
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
corpus="$root/fuzz-corpus"

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DVETRIX_FUZZ=ON -DVETRIX_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=Release
nice -n 10 cmake --build "$build" -j 1 --target "${targets[@]}"

mkdir -p "$corpus/artifacts"
failed=()
for target in "${targets[@]}"; do
  mkdir -p "$corpus/$target"
  seeds=("$root/tests/fuzz/seeds")
  [ "$target" = fuzz_reader ] && seeds+=("$root/tests/inputs")
  echo "== $target for $minutes minute(s)"
  if ! nice -n 10 "$build/tests/fuzz/$target" "$corpus/$target" "${seeds[@]}" \
      -dict="$root/tests/fuzz/dimacs.dict" -max_total_time=$((minutes * 60)) \
      -timeout=30 -rss_limit_mb=4096 -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$corpus/artifacts/$target-"; then
    failed+=("$target")
  fi
  echo "== $target corpus: $(find "$corpus/$target" -type f | wc -l) inputs"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (see $corpus/artifacts)"
  exit 1
fi
