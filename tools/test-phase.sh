#!/usr/bin/env bash
# One phase of `make test`: configures and builds a preset, runs its tests,
# shows the output of any test that failed, and ends with one summary line.
#   tools/test-phase.sh NAME PRESET
set -uo pipefail
cd "$(dirname "$0")/.."
name=$1
preset=$2
start=$SECONDS
log=$(mktemp)
trap 'rm -f "$log"' EXIT

cmake --preset "$preset" >"$log" 2>&1 || { cat "$log"; exit 1; }
cmake --build --preset "$preset" -- --no-print-directory || { echo "$name: build FAILED"; exit 1; }
ctest --preset "$preset" >"$log" 2>&1
status=$?
if [ $status -ne 0 ]; then
  sed -n '/The following tests FAILED/,$p' "$log"
  grep -E -A40 '\*\*\*(Failed|Exception|Timeout)' "$log" | head -n 300
fi
summary=$(grep -E 'tests passed' "$log" || echo "no tests ran")
echo "== $name: $summary, in $((SECONDS - start)) s =="
exit $status
