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
MAKEFLAGS += --no-print-directory

.PHONY: run test package windows package-windows deps test-deps windows-deps clean

run: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default --target bramblewick -- --no-print-directory
	./build/bramblewick

test: test-deps
	@tools/test-phase.sh ordinary default
	@tools/test-phase.sh sanitizers asan
	@tools/test-phase.sh windows windows

package: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default --target bramblewick -- --no-print-directory
	@cd build && cpack

windows: windows-deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target bramblewick -- --no-print-directory

package-windows: windows
	@cd build-windows && cpack

deps:
	@tools/install-deps.sh

test-deps:
	@tools/install-deps.sh --tests

windows-deps:
	@tools/install-deps.sh --windows

clean:
	rm -rf build build-asan build-windows
