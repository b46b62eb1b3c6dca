#!/usr/bin/env bash
# Makes docs/screenshot.png: the sandbox on a private X server with a few
# things dropped into it. Needs a build (make build).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}

exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
server=$!
read -r number <&3
export DISPLAY=":$number"
trap 'kill $server 2>/dev/null || true' EXIT

SDL_AUDIODRIVER=dummy build/bramblewick >/dev/null &
program=$!
sleep 2
xdotool key 2; sleep 3.5
xdotool mousemove_relative -- 400 0; sleep 0.5
xdotool key 3; sleep 1
xdotool mousemove_relative -- -800 0; sleep 0.5
xdotool key 1 0; sleep 2.5
xdotool key j; sleep 0.5
mkdir -p "$(dirname "$out")"
import -window root "$out"
xdotool key Escape
wait $program
echo "wrote $out"
