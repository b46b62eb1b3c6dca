#!/usr/bin/env bash
# Makes the README's pictures, docs/screenshot.png and docs/springs.png: a few
# things dropped around the tool once the camera has settled on it, then a
# tube stretched over a static sphere with its springs shown. Needs a build;
# runs on a private X server:
#   tools/private-display.sh tools/screenshot.sh
set -euo pipefail
cd "$(dirname "$0")/.."
SDL_AUDIODRIVER=dummy build/bramblewick >/dev/null &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT
sleep 10                                    # the camera closes in on the tool
xdotool key 2; sleep 1                      # an empty box at the tool
xdotool mousemove_relative -- 480 0; sleep 0.5
xdotool key 3; sleep 1                      # a tube to its right
xdotool mousemove_relative -- -960 0; sleep 0.5
xdotool key 1; sleep 1                      # a block of spheres to its left
xdotool mousemove_relative -- 480 0; sleep 0.5
xdotool key 0; xdotool click 1               # a bean and a ball from the tool
xdotool mousemove_relative -- 0 600          # then the tool 15 towards the camera and down
xdotool click --repeat 10 5                  # to the ground, so that the camera
sleep 14                                    # settles with the scene in the middle
mkdir -p docs
import -window root docs/screenshot.png
xdotool key r; sleep 1                      # then a tube stretched over a static sphere,
xdotool key 5 3 j                            # its springs shown
xdotool mousemove_relative -- 0 600; xdotool click --repeat 10 5
sleep 12
import -window root docs/springs.png
xdotool key Escape
wait $program
echo "wrote docs/screenshot.png and docs/springs.png"
