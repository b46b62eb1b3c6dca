# The two commands of the README: `make run` and `make test`. Both install
# whatever Debian packages are missing, then build into build/.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: run test build deps clean

run: build
	./$(BUILD_DIR)/bramblewick

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

build: deps
	cmake -S . -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j$(JOBS)

deps:
	tools/install-deps.sh

clean:
	rm -rf $(BUILD_DIR)
