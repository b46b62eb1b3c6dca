#!/usr/bin/env bash
# Runs a command on a private X server of its own, so that tests, the
# benchmark and the screenshots never touch the user's desktop and run the
# same on a machine without one.   tools/private-display.sh COMMAND [ARG...]
# Its screen is the sandbox's 1024 × 768, or BRAMBLEWICK_SCREEN (1920x1200x24, say).
set -u
exec 3< <(exec Xvfb -displayfd 1 -screen 0 "${BRAMBLEWICK_SCREEN:-1024x768x24}" -nolisten tcp -noreset 2>/dev/null)
server=$!
read -r number <&3 || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$number" "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
