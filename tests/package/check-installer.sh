#!/usr/bin/env bash
# The Windows zip holds the program, SDL.dll, the README and every licence; the installer, silent
# under Wine, adds a Start-menu shortcut that starts the program, and uninstalls without a trace.
#   check-installer.sh BUILD_DIR SOURCE_DIR   (in a Wine prefix of its own, on an X server)
set -u
build=$1 source=$2 failed=0
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" && failed=1; }
# What the prefix holds, but for the empty folder a Windows uninstaller works in until a restart.
contents() { (cd "$WINEPREFIX/drive_c" && find . ! -name '~nsu*.tmp' | sort) }
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Bramblewick'

cpack -G "ZIP;NSIS" --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { echo "cpack:" && cat "$work/cpack.log" && exit 1; }
zip=$(unzip -Z1 "$work"/bramblewick-*-win64.zip | sed 's|^[^/]*/||')
for file in bramblewick.exe SDL.dll README-Windows.txt Bramblewick-LICENSE $(ls "$build/licenses"); do
    [[ $file == *.* && $file != *.TXT ]] || file=licenses/${file%.TXT}.txt
    grep -qx "$file" <<<"$zip" || fail "the zip holds no $file"
done

contents >"$work/before"
wine "$work"/bramblewick-*-win64.exe /S || fail "the installer ended with status $?"
shortcut=$(find "$WINEPREFIX/drive_c/ProgramData" -path '*Start Menu/Programs/Bramblewick/Bramblewick.lnk')
program=$(strings "$shortcut" | grep -m1 '^C:\\.*\.exe$') || fail "no Start-menu shortcut: '$shortcut'"
"$source/tests/program/session.sh" "$source/README.md" start wine "$program" || fail "$program, started"

uninstaller=$(wine reg query "$key" /v UninstallString | sed -n 's/.*REG_SZ *"\(.*\)".*/\1/p')
wine "$uninstaller" /S && wineserver --wait  # it works from a copy of itself, which it then ends
wine wineboot --restart && wineserver --wait  # where Windows deletes that copy
contents | diff "$work/before" - >"$work/diff" || fail "left after uninstalling: $(<"$work/diff")"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstaller is still registered"
[ $failed = 0 ] && echo "zip of $(wc -l <<<"$zip") entries; installed, $program started and ended, uninstalled"
exit $failed
