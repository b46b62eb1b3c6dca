#!/usr/bin/env bash
# The program as a user meets it on an X server of its own: what it prints, what keys, mouse, wheel
# and clicks put on the screen, and every way it ends.   session.sh README SCENARIO COMMAND...
# SCENARIO: session, start (and Escape) or no-window; COMMAND may be `wine PATH.exe` (CR LF lines).
set -u
readme=$1 scenario=$2 && shift 2
program=("$@") failed=0
declare -A copies
out=$(mktemp -d) && trap 'rm -rf "$out"' EXIT
controls=$(sed -n '/^    Keyboard Controls:/,/^     Moving the Mouse/{s/^    //;p}' "$readme")
[[ ${program[-1]} == *.exe ]] && windows=1 && controls=$(sed 's/$/\r/' <<<"$controls")
fail() { echo "FAILED: $*" && failed=1; }
# Gives the window titled Bramblewick the keyboard, as a window manager would (Wine's lose it else),
# and reads its title as the task bar shows it: the search takes "bramblewick" for it too.
focus() {
    local window title
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Bramblewick$' | head -n 1)
    [ -n "$window" ] || { fail "no window titled Bramblewick"; return 1; }
    title=$(xdotool getwindowname "$window")
    [ "$title" = Bramblewick ] || fail "the window is titled \"$title\", not \"Bramblewick\""
    xdotool windowfocus --sync "$window"
}

# start NAME SECONDS SETTINGS [ARGUMENTS...]: a copy in the background, with SETTINGS for env.
start() {
    local name=$1 seconds=$2 settings=$3 && shift 3
    (env $settings timeout "$seconds" "${program[@]}" "$@" >"$out/$name.out" 2>"$out/$name.err"
     echo $? >"$out/$name.status") &
    copies[$name]=$!
}
# pause NAME SECONDS KEY: stops the copy (its timeout's child) for that long, as a debugger or a
# laptop's lid does; the key, pressed meanwhile, is the first thing it sees when it goes on.
pause() {
    local copy
    copy=$(pgrep -P "$(pgrep -P "${copies[$1]}")")
    kill -STOP "$copy" && sleep "$2"
    xdotool key "$3"
    kill -CONT "$copy"
}
# ended NAME STATUS: the controls printed; on standard error the video error's 2 lines, or nothing
# but what the sound library says of a missing device.
ended() {
    local err video=$'^Couldn\'t set video mode!\r?\n[^\n]+$'
    err=$(grep -v '^ALSA lib ' "$out/$1.err")
    [ "$(<"$out/$1.status")" = "$2" ] || fail "$1 ended with status $(<"$out/$1.status"), not $2"
    diff <(echo "$controls") "$out/$1.out" >"$out/diff" || fail "$1 printed other controls: $(<"$out/diff")"
    [ "$2" = 0 ] && [ -n "$err" ] && fail "$1 wrote to standard error: $err"
    [ "$2" = 1 ] && ! [[ $err =~ $video ]] && fail "$1 wrote to standard error: $err"
}
# shows WHAT R G B TEST COUNT [LEFT TOP RIGHT BOTTOM]: waits up to 30 s for a frame with that many
# bright pixels of that hue, in that part of the screen (TEST: -gt, -lt, or near: within a fifth).
# Frames are read five at a time, then counted, so a moving object is seen while it is near. The
# last count is kept in $seen.
shows() {
    local n
    for _ in $(seq 10); do
        for i in 1 2 3 4 5; do import -window root -depth 8 "rgb:$out/frame$i"; done
        for i in 1 2 3 4 5; do
            n=$(od -An -v -tu1 -w3 "$out/frame$i" | awk -v r="$2" -v g="$3" -v b="$4" \
                -v left="${7:-0}" -v top="${8:-0}" -v right="${9:-1024}" -v bottom="${10:-768}" '
                function off(v, c) { return v - k * c < 0 ? k * c - v : v - k * c }
                { x = (NR - 1) % 1024; y = int((NR - 1) / 1024) }
                x < left || x >= right || y < top || y >= bottom { next }
                { k = ($1 * r + $2 * g + $3 * b) / (r * r + g * g + b * b); m = r > g ? r : g; m = m > b ? m : b
                  e = 0.08 * k + 4; n += k * m >= 24 && off($1, r) <= e && off($2, g) <= e && off($3, b) <= e }
                END { print n + 0 }')
            seen=$n
            if [ "$5" = near ]; then ((n * 5 > $6 * 4 && n * 5 < $6 * 6)) && return
            else [ "$n" "$5" "$6" ] && return; fi
        done
    done
    fail "$1: $n pixels of its hue, not $5 $6"
}
# rests WHAT R G B: waits up to 30 s for that hue's count to change by under 2 % in a second.
rests() {
    local before=-100
    for _ in $(seq 30); do
        shows "$@" -gt 0 && ((seen * 50 > before * 49 && seen * 50 < before * 51)) && return
        before=$seen && sleep 1
    done
    fail "$1: never came to rest"
}

if [ "$scenario" = no-window ]; then  # no display, or a driver the user names that has no OpenGL
    settings=("-u DISPLAY TERM=xterm" "-u DISPLAY -u TERM" "SDL_VIDEODRIVER=dummy")
    [ -n "${windows:-}" ] && settings=("SDL_VIDEODRIVER=dummy")  # Wine itself needs the display
    for setting in "${settings[@]}"; do
        start "$setting" 10 "$setting SDL_AUDIODRIVER=dummy" && wait $!
        ended "$setting" 1
    done
    exit $failed
fi
# Whatever the sound device and GLUT's own options on the command line: the program reads none.
start first 150 SDL_AUDIODRIVER=no-such-device -display :58 -geometry 10x10 -gldebug
shows "the tool" 1 1 0 -gt 100 && focus
if [ "$scenario" = session ]; then
    # A second copy cannot take the screen the first holds (Windows lets it).
    [ -n "${windows:-}" ] || { start second 15 SDL_AUDIODRIVER=dummy && wait $! && ended second 1; }
    # The ball first: it flies off at 40 units a second, and the falling box would hide it.
    xdotool click 1 && shows "a ball" 1 0.75 0.25 -gt 1000
    xdotool key 2 && shows "an empty box" 0.5 1 0.75 -gt 2000
    # Stopped for 3 s, the program takes up the scene it left: the box, moved off the tool to rest
    # beside it, shows as large as before, in frames drawn after a static sphere made in the stop.
    if [ -z "${windows:-}" ]; then
        xdotool mousemove_relative -- 500 0 && rests "the box at rest" 0.5 1 0.75 && resting=$seen
        pause first 3 5 && shows "a static sphere made in the pause" 0 0 1 -gt 2000
        shows "the box after a pause" 0.5 1 0.75 near "$resting" && xdotool mousemove_relative -- -500 0
    fi
    xdotool key r && shows "the empty box after a reset" 0.5 1 0.75 -lt 100
    # Without mirror images, a static sphere where the tool stands, then another 10 to its right and
    # 10 higher: the camera turns to the second, and the first shows to the left of and below it
    # (further left while the eye, slow to follow, still lags on a slow machine).
    xdotool key s 5 && xdotool mousemove_relative -- 400 0 && xdotool click --repeat 10 4 && xdotool key 5
    shows "the first static sphere" 0 0 1 -gt 5000 0 590 440 768
fi
xdotool key Escape && wait
ended first 0
if [ "$scenario" = session ] && [ -n "${windows:-}" ]; then  # closed as Windows closes a window
    start closed 60 "" && shows "the tool" 1 1 0 -gt 100 && focus  # and no sound device at all
    wine taskkill /im "$(basename "${program[-1]}")" >/dev/null && wait
    ended closed 0
fi
exit $failed
