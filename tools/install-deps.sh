#!/usr/bin/env bash
# Installs the Debian packages that building and running need, and with
# --tests those that testing needs too; only those still missing, so a
# second run costs nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libode-dev libsdl1.2-dev libsdl-mixer1.2-dev freeglut3-dev libglu1-mesa-dev libx11-dev
  libgl1-mesa-dri
  file  # CPack tells the program from the other files with it, to strip it and read its dependencies
)
if [[ ${1:-} == --tests ]]; then
  # The compatibility SDL 1.2 over SDL 2 installs beside the classic one,
  # which stays the default; the tests run the program on both.
  packages+=(googletest libgtest-dev libgmock-dev xvfb xdotool imagemagick libsdl1.2-compat clang-format git)
  # Debian's own checkers of the package.
  packages+=(lintian desktop-file-utils appstream man-db)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
