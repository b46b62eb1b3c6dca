#!/usr/bin/env bash
# The real program under valgrind's memcheck on a private X server, driven by
# a short script of key presses, clicks, wheel steps and mouse motion that
# drops and fires every kind of object, resets between the big ones and ends
# with Escape. Prints memcheck's summary; the full log is left in $LOG.
#
#   tests/reliability/valgrind_run.sh [path/to/bramblewick]
set -euo pipefail
cd "$(dirname "$0")/../.."

PROGRAM=${1:-build-rel/bramblewick}
LOG=${LOG:-/tmp/bramblewick-memcheck.log}
DISPLAY_NUMBER=${DISPLAY_NUMBER:-77}

Xvfb ":$DISPLAY_NUMBER" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=":$DISPLAY_NUMBER" SDL_AUDIODRIVER=dummy
# Mesa's software rasteriser without its JIT, whose generated code memcheck
# cannot follow.
export GALLIUM_DRIVER=softpipe
sleep 2

valgrind --tool=memcheck --track-origins=yes --error-exitcode=0 --log-file="$LOG" \
  "$PROGRAM" >/dev/null &
program=$!

# Memcheck starts slowly; the window is up once the program grabbed input.
for _ in $(seq 120); do
  xdotool search --name Bramblewick >/dev/null 2>&1 && break
  sleep 1
done
sleep 10

step() { xdotool "$@"; sleep "${PAUSE:-4}"; }
step key 0 5 s j q q e
step click 1 click 3 click 4 click 4 click 5
step mousemove_relative --sync -- 300 -200
for big in 2 3 4 1 6; do
  step key "$big"
  step key r
done
step key 0 click 1 click 3 key r r
step key Escape
status=0
wait "$program" || status=$?

grep -E "ERROR SUMMARY|definitely lost|indirectly lost|Invalid (read|write)|uninitialised" "$LOG" | head -40
echo "program exit status: $status; full log: $LOG"
