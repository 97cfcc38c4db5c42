# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: run test build deps clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR)/game && ./twirlstick

# The fuzzers go first so that CTest's summary is the last thing printed.
test: build
	scripts/fuzz.sh $(BUILD_DIR)-fuzz
	scripts/run-tests.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
