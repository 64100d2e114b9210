#!/bin/bash
# Runs the IPASIR program linked against libvetrix and against another
# IPASIR solver (CaDiCaL's libcadical.a): every line, answers and checks,
# must be the same, and none may report a wrong model or core.
set -eu
ours=$("$1")
theirs=$("$2")
if printf '%s\n' "$ours" | grep -q WRONG; then
  printf '%s\n' "$ours" | grep WRONG
  exit 1
fi
[ "$ours" = "$theirs" ] || { echo "the answers differ:"; diff <(echo "$ours") <(echo "$theirs") || true; exit 1; }
echo "$(printf '%s\n' "$ours" | wc -l) calls answered alike"
