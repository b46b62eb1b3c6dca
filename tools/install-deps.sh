#!/usr/bin/env bash
# Installs the Debian packages that building and running need; with
# --windows, those that cross-compiling for Windows and packaging for it need
# (the libraries themselves are built from Debian's source packages when the
# windows preset is configured); with --web, those that building the page
# needs (the same for its libraries, and for the browser tests' driver, which
# the web preset's configure installs from npm as its lock file pins it); with
# --tests, everything, for every test of every build. Only what is still
# missing, so a second run costs nothing.
set -euo pipefail

linux=(
  build-essential cmake pkg-config
  libode-dev libsdl1.2-dev libsdl-mixer1.2-dev freeglut3-dev libglu1-mesa-dev libx11-dev
  libgl1-mesa-dri
  file  # CPack tells the program from the other files with it, to strip it and read its dependencies
)
windows=(
  cmake make g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  dpkg-dev       # dpkg-source unpacks the source packages, Debian's patches applied
  autotools-dev  # a config.sub that knows every host
  file        # libtool tells import libraries from DLLs with it
  googletest  # its sources, built for Windows for the tests
  nsis        # the installer
  ccache      # keeps compiles across builds and clones
)
web=(
  cmake make emscripten
  dpkg-dev autotools-dev googletest  # as for Windows
  python3                            # make run-web serves the page with it
  librsvg2-bin                       # draws the page's icons
  ccache                             # as for Windows
)
command -v npm >/dev/null || web+=(npm)  # the browser tests' driver comes from npm
case ${1:-} in
  --windows) packages=("${windows[@]}") ;;
  --web) packages=("${web[@]}") ;;
  --tests)
    # The compatibility SDL 1.2 over SDL 2 installs beside the classic one,
    # which stays the default; the tests run the program on both. Debian's
    # own checkers judge the package; Wine runs the Windows build.
    # Chromium, Firefox ESR and WebKitGTK's MiniBrowser (with its WebDriver) run the page's tests,
    # driven by Node.
    packages=("${linux[@]}" "${windows[@]}" "${web[@]}" googletest libgtest-dev libgmock-dev xvfb xdotool
      imagemagick libsdl1.2-compat clang-format git lintian desktop-file-utils appstream man-db wine wine64 unzip
      chromium firefox-esr webkit2gtk-driver) ;;
  *) packages=("${linux[@]}") ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

