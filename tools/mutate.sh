#!/usr/bin/env bash
# Mutation testing: plants each single-line fault of tools/mutations.txt, one
# at a time, in a scratch copy of the working tree (its own build folder),
# rebuilds, runs the plain ctest suite (stopping at its first failure) and
# prints whether the suite caught the fault. The tree itself is never touched.
#
#   tools/mutate.sh [--check] [--list FILE] [WORD]
#
#   --check    only confirm that every fault's line is found exactly once
#   --list F   another list of faults (default tools/mutations.txt)
#   WORD       only the faults whose file or description contains WORD
#
# A fault is caught when the mutant fails to build or the suite fails. Exit
# status: 0 when every fault tried was caught, 1 when one survived, 2 on a
# bad list or when the unmutated tree does not pass its own suite.
# Environment: JOBS (default 2) for the build and ctest; MUTATE_TIMEOUT, the
# seconds one test may run (default 120), so that a fault that makes the
# solver loop fails soon.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
list=$here/tools/mutations.txt
check_only=0
word=
while [ $# -gt 0 ]; do
  case $1 in
    --check) check_only=1 ;;
    --list) list=$2; shift ;;
    -*) echo "usage: tools/mutate.sh [--check] [--list FILE] [WORD]" >&2; exit 2 ;;
    *) word=$1 ;;
  esac
  shift
done
jobs=${JOBS:-2}
timeout=${MUTATE_TIMEOUT:-120}

# The list: blocks of three lines, "@ FILE: description", "- original line",
# "+ replacement"; '#' lines and blank lines are comments. Lines are matched
# on their text without the leading and trailing blanks, never by number;
# the replacement takes the original's indentation.
files=() descs=() olds=() news=()
while IFS= read -r line || [ -n "$line" ]; do
  case $line in
    '@ '*) rest=${line#@ }; files+=("${rest%%: *}"); descs+=("${rest#*: }") ;;
    '- '*) olds+=("${line#- }") ;;
    '+ '*) news+=("${line#+ }") ;;
    '#'*|'') ;;
    *) echo "mutate: bad line in $list: $line" >&2; exit 2 ;;
  esac
done < "$list"
if [ ${#files[@]} -ne ${#olds[@]} ] || [ ${#files[@]} -ne ${#news[@]} ]; then
  echo "mutate: $list: every fault needs one @, one - and one + line" >&2
  exit 2
fi

# Writes FILE with the one line whose trimmed text is OLD replaced by NEW
# (indentation kept); prints how many lines matched.
plant() { # file old new out
  OLD=$2 NEW=$3 awk '
    function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
    { if (trim($0) == ENVIRON["OLD"]) { n++; match($0, /^[ \t]*/); print substr($0, 1, RLENGTH) ENVIRON["NEW"] } else print }
    END { print n + 0 > "/dev/stderr" }' "$1" 2>"$4.count" >"$4"
  cat "$4.count"
}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/vetrix-mutate-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
tree=$scratch/vetrix
mkdir -p "$tree"
(cd "$here" && git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$tree")
# The golden outputs and the corpus sit beside the checkout.
[ -d "$here/../shared" ] && ln -s "$(cd "$here/../shared" && pwd)" "$scratch/shared"

bad=0
for i in "${!files[@]}"; do
  n=$(plant "$tree/${files[$i]}" "${olds[$i]}" "${news[$i]}" "$scratch/planted")
  if [ "$n" != 1 ]; then
    echo "mutate: ${files[$i]}: the line '${olds[$i]}' is found $n times, not once" >&2
    bad=1
  fi
done
[ $bad = 0 ] || exit 2
if [ $check_only = 1 ]; then
  echo "${#files[@]} faults, each line found once"
  exit 0
fi

build() { cmake --build "$tree/build" -j"$jobs" >"$scratch/build.log" 2>&1; }
suite() { ctest --test-dir "$tree/build" -j"$jobs" --stop-on-failure --timeout "$timeout" >"$scratch/ctest.log" 2>&1; }
cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release >"$scratch/build.log" 2>&1 &&
  build && suite || { echo "mutate: the unmutated tree does not build or pass its suite:" >&2;
                      tail -20 "$scratch/ctest.log" "$scratch/build.log" >&2; exit 2; }

caught=0 tried=0 survivors=()
for i in "${!files[@]}"; do
  f=${files[$i]}
  case "$f ${descs[$i]}" in *"$word"*) ;; *) continue ;; esac
  tried=$((tried + 1))
  cp "$tree/$f" "$scratch/original"
  plant "$tree/$f" "${olds[$i]}" "${news[$i]}" "$scratch/planted" >/dev/null
  cp "$scratch/planted" "$tree/$f"
  if ! build; then
    verdict="caught (does not build)"
  elif ! suite; then
    verdict="caught by $(grep -m1 -E 'Test +#[0-9]+: .*(\*\*\*|Failed)' "$scratch/ctest.log" | sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/\1/')"
  else
    verdict="SURVIVED"
    survivors+=("$f: ${descs[$i]}")
  fi
  [ "$verdict" = SURVIVED ] || caught=$((caught + 1))
  printf '%-3d %-28s %s\n     %s\n' "$tried" "$f" "${descs[$i]}" "$verdict"
  cp "$scratch/original" "$tree/$f" # a fresh time stamp: the next build recompiles it
done
echo "caught $caught of $tried"
for s in "${survivors[@]+"${survivors[@]}"}"; do echo "survived: $s"; done
[ $caught = $tried ]
