#!/usr/bin/env bash
# Runs a command in a Wine prefix of its own, so that the Windows build's
# tests and the installer never touch ~/.wine and nothing they start under
# Wine outlives them, whether they pass or fail:
#   tools/wine-prefix.sh wine build-windows/unit_tests.exe
# The prefix is a copy of one that Wine sets up once per Wine version (about
# 15 s) and that is kept in the user's cache. The copy links the template's
# files instead of copying them (they are 700 MB, and programs only add files
# beside them), but the registry, which Wine rewrites, is copied.
set -u
command -v wine >/dev/null || { echo "wine-prefix.sh: Wine is not installed" >&2; exit 1; }
export WINEDEBUG=-all
# No Mono or Gecko to offer, and no menu entries written into the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"

cache=${XDG_CACHE_HOME:-$HOME/.cache}/bramblewick
template=$cache/$(wine --version | tr -c 'A-Za-z0-9.\n' -)-prefix-unmanaged
mkdir -p "$cache"
if [ ! -f "$template/system.reg" ]; then
    (
        flock 9
        [ -f "$template/system.reg" ] && exit 0
        fresh=$(mktemp -d "$cache/.wine-XXXXXX")
        # An empty home: Wine would otherwise link the prefix's folders to the user's own. And Wine
        # leaves its windows to the window manager, waiting two seconds for one to map each of them;
        # a private X server has none, so Wine manages them itself.
        export HOME=$fresh/home WINEPREFIX=$fresh/prefix
        { wine wineboot --init && wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f; } \
            >"$fresh/log" 2>&1 && wineserver --wait &&
            mv "$fresh/prefix" "$template"
        status=$?
        [ $status -eq 0 ] || cat "$fresh/log" >&2
        rm -rf "$fresh"
        exit $status
    ) 9>"$cache/wine-prefix.lock" || { echo "wine-prefix.sh: Wine could not set up a prefix" >&2; exit 1; }
fi

run=$(mktemp -d "${TMPDIR:-/tmp}/bramblewick-wine-XXXXXX")
export HOME=$run/home WINEPREFIX=$run/prefix
ended() {
    [ -n "${child:-}" ] && kill "$child" 2>/dev/null
    wineserver --kill 2>/dev/null
    rm -rf "$run"
}
trap ended EXIT
trap 'exit 143' TERM INT HUP
mkdir "$HOME" && cp -al "$template" "$WINEPREFIX" &&
    cp --remove-destination "$template"/*.reg "$WINEPREFIX/" || exit 1
# In the background, so that a signal to this script ends the command at once.
"$@" &
child=$!
wait $child
status=$?
child=
exit $status
