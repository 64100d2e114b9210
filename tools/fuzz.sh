#!/bin/bash
# Builds the libFuzzer targets with clang into build-fuzz and fuzzes each for
# MINUTES minutes, one after the other, at low priority. Corpora persist in
# fuzz-corpus/TARGET (not in git) and grow from tests/fuzz/seeds (and, for
# the reader, tests/inputs); crashing inputs land in fuzz-corpus/artifacts.
# fuzz_fast drives the fast engine on random formulas and call sequences.
# fuzz_calls runs incremental call sequences against CaDiCaL (it needs
# libcadical-dev); a failing one is printed as an incremental CNF file.
#
# Two more targets need no libFuzzer: call_fuzz, the seeded driver of the
# call sequences, runs the seeds from CALL_FUZZ_FIRST (default 100001) on
# for MINUTES minutes and writes each failing sequence to
# fuzz-corpus/artifacts/calls-SEED.cnf (a crash leaves calls-running.cnf);
# call_fuzz.py, its Python driver, runs vetrix.Solver against pycryptosat
# from the same first seed. Keep every sequence found as a regression file
# in tests/calls/found (the suite replays each one there, through the
# library and the command line).
# Usage: tools/fuzz.sh MINUTES [fuzz_reader] [fuzz_solve] [fuzz_calls] [fuzz_fast] [call_fuzz] [call_fuzz.py]
set -euo pipefail
minutes=${1:?usage: tools/fuzz.sh MINUTES [fuzz_reader] [fuzz_solve] [fuzz_calls] [fuzz_fast] [call_fuzz] [call_fuzz.py]}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_reader fuzz_solve fuzz_calls fuzz_fast)
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
corpus="$root/fuzz-corpus"
first=${CALL_FUZZ_FIRST:-100001}

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DVETRIX_FUZZ=ON -DVETRIX_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=Release
builds=()
for target in "${targets[@]}"; do
  case $target in call_fuzz.py) builds+=(_vetrix) ;; *) builds+=("$target") ;; esac
done
nice -n 10 cmake --build "$build" -j 1 --target "${builds[@]}"

mkdir -p "$corpus/artifacts"
failed=()
for target in "${targets[@]}"; do
  if [ "$target" = call_fuzz ]; then
    nice -n 10 "$build/tools/call_fuzz" --seeds="$first-18446744073709551615" --seconds=$((minutes * 60)) \
      --out="$corpus/artifacts" || failed+=("$target")
    continue
  fi
  if [ "$target" = call_fuzz.py ]; then
    PYTHONPATH="$build/python" nice -n 10 python3 "$root/tools/call_fuzz.py" --seeds "$first-1000000000000" \
      --seconds $((minutes * 60)) || failed+=("$target")
    continue
  fi
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
