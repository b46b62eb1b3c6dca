#!/usr/bin/env bash
# The Debian package as a user gets it: made from this build's program, judged by Debian's own
# checkers, then unpacked and started.   check-package.sh BUILD_DIR SOURCE_DIR
set -u
build=$1 source=$2 failed=0
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT

# check CHECKER FINDINGS COMMAND...: fails, showing all it said, when it fails or says FINDINGS.
check() {
    local name=$1 findings=$2 said status && shift 2
    said=$("$@" 2>&1) && status=0 || status=$?
    if [ $status -ne 0 ] || { [ -n "$findings" ] && grep -Eq "$findings" <<<"$said"; }; then
        printf '%s (status %s):\n%s\n' "$name" $status "$said" && failed=1
    fi
}

# cpack into a folder of its own, without a display, leaves build/ to the tests running beside it.
env -u DISPLAY cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { echo "cpack:" && cat "$work/cpack.log" && exit 1; }
deb=$(echo "$work"/bramblewick_*.deb)
dpkg-deb -x "$deb" "$work/root" && share=$work/root/usr/share
check lintian '^[EW]: |hardening-' lintian -I --fail-on error,warning "$deb"
check desktop-file-validate . desktop-file-validate "$share/applications/bramblewick.desktop"
check appstreamcli '' appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
    "$share/metainfo/bramblewick.metainfo.xml"
check man . bash -c 'man --warnings -E UTF-8 -l "$0" >/dev/null' "$share/man/man6/bramblewick.6.gz"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libode libsdl1.2 libsdl-mixer1.2 libglut libopengl0 libglu1; do
    [[ $depends == *"$library"* ]] || { echo "dpkg-deb: Depends names no $library: $depends" && failed=1; }
done

# The unpacked program, as the program tests drive the built one.
check bramblewick '' "$source/tools/private-display.sh" "$source/tests/program/session.sh" \
    "$source/README.md" start "$work/root/usr/games/bramblewick"
exit $failed
