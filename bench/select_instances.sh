#!/bin/bash
# select_instances.sh MANIFEST WHAT...: the header of the corpus manifest and
# its lines whose tier or family is one of WHAT ("all" for every line) or
# whose path is listed in a file named among WHAT (one path per line), each
# instance once, in the manifest's order.
set -u -o pipefail
manifest="$1"; shift
lists=(); words=()
for t in "$@"; do
  if [[ -f "$t" ]]; then lists+=("$(cd "$(dirname "$t")" && pwd -P)/$(basename "$t")"); else words+=("$t"); fi
done
awk -F'\t' -v words="${words[*]:-}" -v lists="${lists[*]:-}" '
  BEGIN {
    nw = split(words, w, " "); for (i = 1; i <= nw; i++) want[w[i]] = 1
    nl = split(lists, l, " ")
    for (i = 1; i <= nl; i++) while ((getline line < l[i]) > 0) { sub(/\r$/, "", line); if (line != "") inlist[line] = 1 }
  }
  NR == 1 { for (i = 1; i <= NF; i++) c[$i] = i; print; next }
  (("all" in want) || ($c["tier"] in want) || ($c["family"] in want) || ($c["path"] in inlist)) && !seen[$c["path"]]++ { print }
' "$manifest"
