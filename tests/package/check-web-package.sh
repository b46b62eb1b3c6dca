#!/usr/bin/env bash
# The page's zip as a web host gets it: the page, its script and WebAssembly and every licence, and
# the page unpacked from it starts.   check-web-package.sh BUILD_DIR SOURCE_DIR
set -u
build=$1 source=$2 failed=0
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" && failed=1; }

cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { echo "cpack:" && cat "$work/cpack.log" && exit 1; }
zip=$(echo "$work"/bramblewick-*-web.zip)
files=$(unzip -Z1 "$zip" | sed 's|^[^/]*/||')
for file in index.html bramblewick.js bramblewick.wasm manifest.webmanifest service-worker.js icon-192.png \
    icon-512.png licenses/Bramblewick-LICENSE.txt \
    $(ls "$build/licenses" | sed -E 's/\.(txt|TXT)$//; s|.*|licenses/&.txt|'); do
    grep -qx "$file" <<<"$files" || fail "the zip holds no $file"
done
unzip -q "$zip" -d "$work/host"
node "$source/tests/web/session.mjs" "$source/README.md" "$(echo "$work"/host/*)" start ||
    fail "the page from the zip"
[ $failed = 0 ] && echo "zip of $(wc -l <<<"$files") entries; its page started and ended"
exit $failed
