#!/bin/sh
# Instruction profile of steady passes of one scene: project code's share of
# the instructions and the allocation calls it makes. From the repository:
#   bench/profile.sh [BUILD_DIR [SCENE [PASSES]]]
# Leaves the profile of the passes in BUILD_DIR/callgrind.passes.out.
set -eu
build=${1:-build}
scene=${2:-full-house}
passes=${3:-5}
out="$build/callgrind.bench.out"

# LP_NUM_THREADS=0: llvmpipe rasterises in the calling thread, so its work is
# counted. callgrind counts calls even while not collecting, so it collects
# throughout and dumps on entering and on leaving the passes, which leaves
# them alone in part 2 (two patterns: it honours one trigger per pattern).
LP_NUM_THREADS=0 "$(dirname "$0")/../tools/private-display.sh" valgrind --tool=callgrind --callgrind-out-file="$out" \
    --dump-before='*profiledPasses*' --dump-after='bench::profiledPasses*' \
    "$build/bench/bramblewick_bench" --profile --scene "$scene" --passes "$passes"
mv "$out.2" "$build/callgrind.passes.out"
rm -f "$out" "$out.1"
awk -v passes="$passes" -f "$(dirname "$0")/project_share.awk" "$build/callgrind.passes.out"
