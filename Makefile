# The two commands of the README: `make run` and `make test`. Both install what is missing first.
# `make run` installs and builds only the game, the stage tool and their data; `make test` adds
# the test, benchmark and packaging tools and builds everything with warnings as errors.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: run test build web clean

run:
	scripts/install-deps.sh run
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTWIRLSTICK_TESTS=OFF -DTWIRLSTICK_BENCH=OFF
	# The icons and the compressed documents too, so `cmake --install` works right after.
	cmake --build $(BUILD_DIR) -j $(JOBS) --target twirlstick twirlstick-stage icons compressed_docs
	cd $(BUILD_DIR)/game && ./twirlstick

build:
	scripts/install-deps.sh test
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTWIRLSTICK_TESTS=ON -DTWIRLSTICK_BENCH=ON \
	  -DTWIRLSTICK_WERROR=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The format check goes first (it fails fast), then the fuzzers, the suite, the Debian package
# under lintian, and the whole suite
# again built with AddressSanitizer and UBSan, so that its CTest summary is the last thing printed.
test: build
	scripts/check-format.sh
	scripts/fuzz.sh $(BUILD_DIR)-fuzz
	scripts/run-tests.sh $(BUILD_DIR)
	scripts/check-package.sh $(BUILD_DIR)
	cmake -S . -B $(BUILD_DIR)-sanitize -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTWIRLSTICK_SANITIZE=ON -DTWIRLSTICK_BENCH=OFF \
	  -DTWIRLSTICK_WERROR=ON
	cmake --build $(BUILD_DIR)-sanitize -j $(JOBS)
	scripts/run-tests.sh $(BUILD_DIR)-sanitize

# The game in a browser: build-web/twirlstick.html (serve the folder, e.g. python3 -m http.server).
web:
	JOBS=$(JOBS) scripts/build-web.sh $(BUILD_DIR)-web

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-fuzz $(BUILD_DIR)-sanitize $(BUILD_DIR)-web
