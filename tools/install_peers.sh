#!/bin/bash
# Installs the peer SAT solvers that the differential test compares UNSAT
# verdicts against (picosat first, then minisat, cadical) when missing.
set -euo pipefail
missing=()
for peer in picosat minisat cadical; do
  command -v "$peer" >/dev/null 2>&1 || missing+=("$peer")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "peer solvers present: picosat minisat cadical"
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
