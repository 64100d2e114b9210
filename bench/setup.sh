#!/bin/bash
# Installs what the benchmark scripts need from Debian's packages, when
# missing: the peer solvers (minisat, picosat, cadical), time (peak memory
# and CPU seconds of throughput.sh), hyperfine (startup.sh) and
# python3-matplotlib (plots.py, which therefore runs with /usr/bin/python3).
set -euo pipefail
missing=()
for pkg in minisat picosat cadical time hyperfine python3-matplotlib; do
  dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "present: minisat picosat cadical time hyperfine python3-matplotlib"
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
