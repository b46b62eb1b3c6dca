# The two commands of the README: `make run` and `make test`. Both install
# whatever Debian packages are missing, then build into build/.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: run test sanitize build deps clean

run: build
	./$(BUILD_DIR)/bramblewick

# Every test, then the in-process and window tests again under the address
# and undefined-behaviour sanitizers.
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 600 -j$(JOBS)
	$(MAKE) sanitize

sanitize: deps
	tools/sanitize.sh

build: deps
	cmake -S . -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j$(JOBS)

deps:
	tools/install-deps.sh

clean:
	rm -rf $(BUILD_DIR)
