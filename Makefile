# The README's two commands. Each first installs whatever Debian packages it
# still needs.
#   make run   builds the program alone and starts it
#   make test  builds everything and runs every test, then the in-process
#              and window tests again under the address and
#              undefined-behaviour sanitizers, then the Windows build's
#              tests under Wine
#   make package  builds the program alone and makes
#              build/bramblewick_VERSION_ARCH.deb of it
#   make windows  cross-compiles the program for Windows into
#              build-windows/bramblewick.exe, beside SDL.dll; the first time
#              it builds the libraries too, which later builds reuse
#   make package-windows  makes build-windows/bramblewick-VERSION-win64.zip
#              and the installer build-windows/bramblewick-VERSION-win64.exe
#   make web   builds the page for the browser into build-web/: index.html,
#              bramblewick.js and bramblewick.wasm, the manifest, icons and
#              service worker; the first time it builds the libraries too,
#              which later builds reuse
#   make run-web  builds the page and serves it on http://127.0.0.1:8000/
#   make package-web  makes build-web/bramblewick-VERSION-web.zip, the page
#              for any static web host
MAKEFLAGS += --no-print-directory

.PHONY: run test package windows package-windows web run-web package-web deps test-deps windows-deps web-deps clean

run: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default --target bramblewick -- --no-print-directory
	./build/bramblewick

test: test-deps
	@tools/test-phase.sh ordinary default
	@tools/test-phase.sh sanitizers asan
	@tools/test-phase.sh windows windows
	@tools/test-phase.sh web web

package: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default --target bramblewick -- --no-print-directory
	@cd build && cpack

windows: windows-deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target bramblewick -- --no-print-directory

package-windows: windows
	@cd build-windows && cpack

web: web-deps
	@cmake --preset web >/dev/null
	@cmake --build --preset web --target page -- --no-print-directory

run-web: web
	@echo "Bramblewick is at http://127.0.0.1:8000/ (Ctrl-C stops it)"
	@python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web

package-web: web
	@cd build-web && cpack

deps:
	@tools/install-deps.sh

test-deps:
	@tools/install-deps.sh --tests

windows-deps:
	@tools/install-deps.sh --windows

web-deps:
	@tools/install-deps.sh --web

clean:
	rm -rf build build-asan build-windows build-web
