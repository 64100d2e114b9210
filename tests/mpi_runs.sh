#!/bin/bash
# vetrix-mpi end to end under mpirun on the loopback interface, 3 and 5
# processes oversubscribed on this machine: verdicts against MiniSat on
# random formulas and on a slice of the medium tier (skipped with a message
# without ../shared), every model checked by the awk checker below, every
# UNSAT proof checked by dratcheck; a malformed file, --time, SIGTERM and
# SIGINT to rank 0, a worker SIGKILLed mid-run, one process and no mpirun,
# the options as the table gives them, and the batch recipe of GNU parallel.
# usage: tests/mpi_runs.sh VETRIX_MPI VETRIX CNFGEN DRATCHECK SOURCE_DIR
set -uo pipefail
mpi=$1 vetrix=$2 cnfgen=$3 dratcheck=$4 src=$5
bench=$src/../shared/bench
# CI runs as root; Open MPI refuses that unless told, and only this test tells it.
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
# In a sanitized build LeakSanitizer reports what Open MPI leaves allocated at
# exit (in components it has unloaded by then, so no suppression can name
# them): leaks are not checked in these runs; memory errors still are.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
run=(mpirun --oversubscribe --mca btl self,tcp --mca btl_tcp_if_include lo)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# 0 when the v lines of output (file $2) satisfy every clause of CNF $1
# (an unlisted variable is false).
model_ok() {
  awk 'FNR == NR { if ($1 == "v") for (i = 2; i <= NF; ++i) if ($i > 0) t[$i] = 1; next }
       /^[cp%]/ { next }
       { for (i = 1; i <= NF; ++i) { l = $i; if (l == 0) { if (!sat) bad = 1; sat = 0; continue }
           if ((l > 0 && (l in t)) || (l < 0 && !((-l) in t))) sat = 1 } }
       END { exit bad }' "$2" "$1"
}

# The verdict MiniSat gives: SAT or UNSAT.
peer() { minisat -verb=0 "$1" >/dev/null 2>&1; case $? in 10) echo SAT ;; 20) echo UNSAT ;; *) echo UNKNOWN ;; esac; }

# Solves $1 with -np $2 and checks status, verdict ($3), model and proof.
check() {
  local f=$1 np=$2 want=$3 out=$work/out rc
  "${run[@]}" -np "$np" "$mpi" --proof="$work/proof" --budget=300 "$f" >"$out" 2>"$work/err"
  rc=$?
  case $want in
    SAT) [ $rc -eq 10 ] && grep -qx 's SATISFIABLE' "$out" && model_ok "$f" "$out" || fail "$f -np $np: rc $rc, want a checked model" ;;
    UNSAT) [ $rc -eq 20 ] && grep -qx 's UNSATISFIABLE' "$out" || fail "$f -np $np: rc $rc, want UNSAT"
      [ $rc -ne 20 ] || "$dratcheck" "$f" "$work/proof" >"$work/check" || fail "$f -np $np: proof: $(tail -2 "$work/check")" ;;
    *) fail "$f: no peer verdict" ;;
  esac
}

# Random 3-SAT at the threshold, half of them SAT, and pigeonholes.
for seed in 1 2 3 4 5 6 7 8; do
  f=$work/r$seed.cnf
  "$cnfgen" "$seed" ksat $((60 + 10 * seed)) 3 4.26 >"$f"
  check "$f" $((seed % 2 ? 3 : 5)) "$(peer "$f")"
done
"$cnfgen" 1 php 7 >"$work/php7.cnf"
check "$work/php7.cnf" 5 UNSAT

# A slice of the medium tier.
if [ -f "$bench/MANIFEST.tsv" ]; then
  for f in aim/aim-200-2_0-no-1.cnf ais/ais10.cnf dubois/dubois30.cnf flat/flat100-1.cnf hole/hole7.cnf \
           bmc/bmc-ibm-2.cnf uuf125/uuf125-01.cnf uf150/uf150-01.cnf; do
    want=$(awk -F'\t' -v p="$f" '$1 == p { print $5 }' "$bench/MANIFEST.tsv")
    [ "$want" = "$(peer "$bench/$f")" ] || fail "$f: MANIFEST and MiniSat disagree"
    check "$bench/$f" 3 "$want"
  done
else
  echo "medium tier not found at $bench: its slice was not run"
fi

# A malformed file: the reader's message once, from rank 0, status 1 as vetrix gives it.
bad=$src/tests/inputs/clause-count-below-minus-one.cnf
"${run[@]}" -np 3 "$mpi" "$bad" >"$work/out" 2>/dev/null
rc=$?
"$vetrix" "$bad" >"$work/want"
[ $rc -eq 1 ] && cmp -s "$work/out" "$work/want" || fail "malformed file: rc $rc, output $(head -c 200 "$work/out")"

# Options come from the library's table, as vetrix reads them: an unknown
# option or a bad value is vetrix's line, once, status 1, and no rank stays.
for arg in --no-such --time=0 --strategy=3 --budget=x --proof=; do
  "${run[@]}" -np 3 "$mpi" "$arg" "$work/r1.cnf" >"$work/out" 2>"$work/err"
  rc=$?
  want=$("$vetrix" "$arg" "$work/r1.cnf" 2>&1)
  [ $rc -eq 1 ] && [ ! -s "$work/out" ] && [ "$(grep -cxF -- "$want" "$work/err")" -eq 1 ] ||
    fail "$arg: rc $rc, want '$want' once, got $(head -c 200 "$work/err")"
done
pgrep -f "$work/r1.cnf" >/dev/null && fail "a rank outlived a refused option"
# --help lists the options each program takes, and each refuses the rest
# with the table's line (--name=1 is a good value of every kind; no file).
help_names() { "$1" --help | sed -n 's/^  \(--[a-z-]*\).*/\1/p'; }
for name in $( (help_names "$mpi"; help_names "$vetrix") | sort -u); do
  for program in "$mpi" "$vetrix"; do
    face=$([ "$program" = "$mpi" ] && echo vetrix-mpi || echo "the command line")
    refused="vetrix: option '$name' is not taken by $face"
    if help_names "$program" | grep -qx -- "$name"; then
      "$program" "$name=1" 2>&1 | grep -qxF -- "$refused" && fail "$program refuses $name of its --help"
    else
      [ "$("$program" "$name=1" 2>&1)" = "$refused" ] || fail "$program takes $name, missing from its --help"
    fi
  done
done

# One process, and no mpirun: vetrix's verdict lines for the same strategy
# (an exact one on an UNSAT formula, the default fast on a SAT one).
for pair in 1:r2 fast:r8; do
  strategy=${pair%:*} f=$work/${pair#*:}.cnf
  "$vetrix" --strategy="$strategy" "$f" >"$work/want"
  for launch in "${run[*]} -np 1" ""; do
    option=--strategy=$strategy
    [ "$strategy" = fast ] && option=--stats # the default engine; counters go to standard error
    $launch "$mpi" "$option" "$f" >"$work/out" 2>/dev/null
    rc=$?
    cmp -s "$work/out" "$work/want" && [ $rc -eq "$(grep -q UNSAT "$work/want" && echo 20 || echo 10)" ] ||
      fail "single solve '$launch' --strategy=$strategy: rc $rc, output differs from vetrix"
  done
done

# A run that lasts: pigeonholes beyond this machine's reach in seconds.
hard=$work/hard-$$.cnf
"$cnfgen" 1 php 11 >"$hard"
"${run[@]}" -np 3 "$mpi" --time=1 "$hard" >"$work/out"
rc=$?
[ $rc -eq 0 ] && grep -qx 's UNKNOWN' "$work/out" || fail "--time=1: rc $rc"

# The pid of rank $2 of the job that mpirun $1 started, once it runs.
rank_pid() {
  local p
  for _ in $(seq 100); do
    for p in $(pgrep -P "$1"); do
      tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "OMPI_COMM_WORLD_RANK=$2" && { echo "$p"; return; }
    done
    sleep 0.1
  done
}

# Starts the hard run, sends signal $1 to ranks $2... after a second; prints mpirun's status.
signalled() {
  local sig=$1 rank pids=()
  shift
  "${run[@]}" -np 3 "$mpi" "$hard" >"$work/out" 2>"$work/err" &
  local job=$!
  for rank in "$@"; do pids+=("$(rank_pid $job "$rank")"); done
  sleep 1
  kill -"$sig" "${pids[@]}"
  wait $job
  echo $?
}
for case in "TERM 0" "INT 0" "TERM 0 1 2"; do
  # shellcheck disable=SC2086 # the signal and the ranks are separate words
  rc=$(signalled $case)
  [ "$rc" -eq 0 ] && grep -qx 's UNKNOWN' "$work/out" || fail "SIG$case (signal, ranks): rc $rc"
done
# Open MPI ends the whole job when a rank dies: no verdict, a message, non-zero.
rc=$(signalled KILL 1)
[ "$rc" -ne 0 ] && ! grep -q '^s ' "$work/out" && grep -q 'signal 9' "$work/err" ||
  fail "worker SIGKILLed: rc $rc, $(cat "$work/out")"
sleep 0.5
pgrep -f "$hard" >/dev/null && fail "a rank outlived its job"

# The batch recipe: GNU parallel, one single-process solve per file.
if command -v parallel >/dev/null; then
  parallel -j 2 --results "$work/batch" "$mpi" --time=20 {} ::: "$work"/r[1-4].cnf >/dev/null 2>&1
  for k in 1 2 3 4; do
    out=$(find "$work/batch" -path "*r$k.cnf*" -name stdout)
    grep -q '^s SATISFIABLE$' "$out" && { model_ok "$work/r$k.cnf" "$out" || fail "batch r$k: model"; } ||
      grep -qx 's UNSATISFIABLE' "$out" || fail "batch r$k: no verdict"
  done
else
  fail "GNU parallel not installed (tools/install_peers.sh installs it)"
fi

[ $failures -eq 0 ] && echo "vetrix-mpi: every case passed"
exit $((failures > 0))
