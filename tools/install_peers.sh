#!/bin/bash
# Installs the peer SAT solvers that the differential test compares UNSAT
# verdicts against (picosat first, then minisat, cadical), the libraries of
# compressed input (zlib, liblzma, libbz2), GoogleTest, which the test
# suite needs, and Python's development files and pybind11, which the Python
# module needs, when missing.
set -euo pipefail
missing=()
for peer in picosat minisat cadical; do
  command -v "$peer" >/dev/null 2>&1 || missing+=("$peer")
done
for lib in zlib1g-dev liblzma-dev libbz2-dev libgtest-dev python3-dev pybind11-dev; do
  dpkg -s "$lib" >/dev/null 2>&1 || missing+=("$lib")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "present: picosat minisat cadical zlib1g-dev liblzma-dev libbz2-dev libgtest-dev python3-dev pybind11-dev"
  exit 0
fi
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
# The package lists may be missing or stale on a fresh machine: update once
# and try again.
if ! "${as_root[@]}" apt-get install -y "${missing[@]}"; then
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y "${missing[@]}"
fi
