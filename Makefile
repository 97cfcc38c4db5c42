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

# The format check goes first (it fails fast), then the fuzzers, the suite, and the whole suite
# again built with AddressSanitizer and UBSan, so that its CTest summary is the last thing printed.
test: build
	scripts/check-format.sh
	scripts/fuzz.sh $(BUILD_DIR)-fuzz
	scripts/run-tests.sh $(BUILD_DIR)
	cmake -S . -B $(BUILD_DIR)-sanitize -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTWIRLSTICK_SANITIZE=ON -DTWIRLSTICK_BENCH=OFF
	cmake --build $(BUILD_DIR)-sanitize -j $(JOBS)
	scripts/run-tests.sh $(BUILD_DIR)-sanitize

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-fuzz $(BUILD_DIR)-sanitize
