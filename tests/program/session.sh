#!/usr/bin/env bash
# The program as a user meets it on an X server of its own: what it prints, what keys and clicks
# put on the screen, and every way it ends.   session.sh PROGRAM README {session|no-window}
set -u
program=$1 readme=$2 failed=0
out=$(mktemp -d) && trap 'rm -rf "$out"' EXIT
controls=$(sed -n '/^    Keyboard Controls:/,/^     Moving the Mouse/{s/^    //;p}' "$readme")
fail() { echo "FAILED: $*" && failed=1; }

# start NAME SECONDS SETTINGS [ARGUMENTS...]: a copy in the background, with SETTINGS for env.
start() {
    local name=$1 seconds=$2 settings=$3 && shift 3
    (env $settings timeout "$seconds" "$program" "$@" >"$out/$name.out" 2>"$out/$name.err"
     echo $? >"$out/$name.status") &
}
# ended NAME STATUS: the controls printed; on standard error nothing, or the video error's 2 lines.
ended() {
    local err=$out/$1.err video=$'^Couldn\'t set video mode!\n[^\n]+$'
    [ "$(<"$out/$1.status")" = "$2" ] || fail "$1 ended with status $(<"$out/$1.status"), not $2"
    diff <(echo "$controls") "$out/$1.out" >"$out/diff" || fail "$1 printed other controls: $(<"$out/diff")"
    [ "$2" = 0 ] && [ -s "$err" ] && fail "$1 wrote to standard error: $(<"$err")"
    [ "$2" = 1 ] && ! [[ $(<"$err") =~ $video ]] && fail "$1 wrote to standard error: $(<"$err")"
}
# shows WHAT R G B TEST COUNT: waits up to 30 s for a frame with that many bright pixels of that
# hue. Frames are read five at a time, then counted, so a moving object is seen while it is near.
shows() {
    local n
    for _ in $(seq 10); do
        for i in 1 2 3 4 5; do import -window root -depth 8 "rgb:$out/frame$i"; done
        for i in 1 2 3 4 5; do
            n=$(od -An -v -tu1 -w3 "$out/frame$i" | awk -v r="$2" -v g="$3" -v b="$4" '
                function off(v, c) { return v - k * c < 0 ? k * c - v : v - k * c }
                { k = ($1 * r + $2 * g + $3 * b) / (r * r + g * g + b * b); m = r > g ? r : g; m = m > b ? m : b
                  e = 0.08 * k + 4; n += k * m >= 24 && off($1, r) <= e && off($2, g) <= e && off($3, b) <= e }
                END { print n + 0 }')
            [ "$n" "$5" "$6" ] && return
        done
    done
    fail "$1: $n pixels of its hue, not $5 $6"
}

if [ "$3" = session ]; then
    # Whatever the sound device and GLUT's own options on the command line: the program reads none.
    start first 90 SDL_AUDIODRIVER=no-such-device -display :58 -geometry 10x10 -gldebug
    shows "the tool" 1 1 0 -gt 100
    start second 15 SDL_AUDIODRIVER=dummy && wait $!  # cannot take the screen the first holds
    ended second 1
    # The ball first: it flies off at 40 units a second, and the falling box would hide it.
    xdotool click 1 && shows "a ball" 1 0.75 0.25 -gt 1000
    xdotool key 2 && shows "an empty box" 0.5 1 0.75 -gt 2000
    xdotool key r && shows "the empty box after a reset" 0.5 1 0.75 -lt 100
    xdotool key Escape && wait
    ended first 0
else  # without a display, or on a driver the user names that cannot draw with OpenGL
    for settings in "-u DISPLAY TERM=xterm" "-u DISPLAY -u TERM" "SDL_VIDEODRIVER=dummy"; do
        start "$settings" 10 "$settings SDL_AUDIODRIVER=dummy" && wait $!
        ended "$settings" 1
    done
fi
exit $failed
