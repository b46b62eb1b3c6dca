# The README's two commands. Each first installs whatever Debian packages it
# still needs.
#   make run   builds the program alone and starts it
#   make test  builds everything and runs every test, then the in-process
#              and window tests again under the address and
#              undefined-behaviour sanitizers
#   make package  builds the program alone and makes
#              build/bramblewick_VERSION_ARCH.deb of it
MAKEFLAGS += --no-print-directory

.PHONY: run test package deps test-deps clean

run: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default --target bramblewick -- --no-print-directory
	./build/bramblewick

test: test-deps
	@tools/test-phase.sh ordinary default
	@tools/test-phase.sh sanitizers asan

package: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default --target bramblewick -- --no-print-directory
	@cd build && cpack

deps:
	@tools/install-deps.sh

test-deps:
	@tools/install-deps.sh --tests

clean:
	rm -rf build build-asan
