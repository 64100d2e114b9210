#!/bin/bash
# Installs the peer SAT solvers that the differential test compares UNSAT
# verdicts against (picosat first, then minisat, cadical), the libraries of
# compressed input (zlib, liblzma, libbz2) and GoogleTest, which the test
# suite needs, groff, with which the suite renders the manual page, dpkg-dev
# and file, with which CPack finds the Debian package's dependencies,
# Python's development files and pybind11, which the Python module needs,
# CaDiCaL's IPASIR library (libcadical-dev), which the incremental
# interface's test also links against, and pycryptosat
# (python3-cryptominisat), the incremental peer of the Python module's
# tests, Open MPI (openmpi-bin, libopenmpi-dev), with which vetrix-mpi is
# built and run, and GNU parallel, whose batch recipe its test runs, when
# missing. With --bench also what the benchmark scripts use:
# time (CPU seconds and peak memory), hyperfine (start-up) and
# python3-matplotlib (bench/plots.py, run with /usr/bin/python3).
set -euo pipefail
packages=(zlib1g-dev liblzma-dev libbz2-dev libgtest-dev groff-base dpkg-dev file python3-dev pybind11-dev libcadical-dev python3-cryptominisat
  openmpi-bin libopenmpi-dev parallel)
if [ "${1:-}" = --bench ]; then
  packages+=(time hyperfine python3-matplotlib)
fi
missing=()
for peer in picosat minisat cadical; do
  command -v "$peer" >/dev/null 2>&1 || missing+=("$peer")
done
for lib in "${packages[@]}"; do
  dpkg -s "$lib" >/dev/null 2>&1 || missing+=("$lib")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "present: picosat minisat cadical ${packages[*]}"
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
