#!/bin/sh
# Instruction profile of the sandbox's passes and of the floor loop's, with
# the share of each group of code. Usage, from the repository:
#   bench/profile.sh [BUILD_DIR [SCENE [PASSES]]]
# Writes BUILD_DIR/callgrind.sandbox.out and BUILD_DIR/callgrind.floor.out.
set -eu
build=${1:-build}
scene=${2:-full-house}
passes=${3:-5}
here=$(dirname "$0")
out="$build/callgrind.out.$$"

# The GL driver rasterises in the calling thread, so that its work falls
# inside the collected functions; only those two are collected, the first
# dumped on its own.
LP_NUM_THREADS=0 valgrind --tool=callgrind --collect-atstart=no \
    --toggle-collect='bench::profiled*' --dump-after='*profiledPasses*' \
    --callgrind-out-file="$out" \
    "$build/bench/bramblewick_bench" --profile --scene "$scene" --passes "$passes"
mv "$out.1" "$build/callgrind.sandbox.out"
mv "$out" "$build/callgrind.floor.out"
python3 "$here/callgrind_share.py" "$build/callgrind.sandbox.out" "$build/callgrind.floor.out"
