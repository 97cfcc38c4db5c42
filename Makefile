# The two commands of the README: `make run` and `make test`. Both install what is missing first.
# `make run` installs and builds only the game, the stage tool and their data; `make test` adds
# the test, benchmark and packaging tools and builds everything with the same compile flags, so
# that either finds the other's objects and cache entries, then fails on any warning in the
# project's own code (scripts/build-checked.sh) instead of compiling with -Werror.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# Every build compiles through ccache, which a fresh clone on the same machine shares with the
# others (CMakeLists.txt says how).
CONFIGURE = cmake -S . -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTWIRLSTICK_CCACHE=ON

.PHONY: run test build web serve clean

# The icons and the compressed documents too, so `cmake --install` works right after.
run:
	scripts/install-deps.sh run
	$(CONFIGURE) -B $(BUILD_DIR) -DTWIRLSTICK_TESTS=OFF -DTWIRLSTICK_BENCH=OFF -DTWIRLSTICK_WERROR=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target twirlstick twirlstick-stage icons compressed_docs
	cd $(BUILD_DIR)/game && ./twirlstick

build:
	scripts/install-deps.sh test
	$(CONFIGURE) -B $(BUILD_DIR) -DTWIRLSTICK_TESTS=ON -DTWIRLSTICK_BENCH=ON -DTWIRLSTICK_WERROR=OFF
	scripts/build-checked.sh $(BUILD_DIR) $(JOBS)

# The format check goes first (it fails fast), then the build, the suite and the Debian package
# under lintian; then the second build, with clang, AddressSanitizer and UBSan, which also holds
# the fuzzers (they need clang's libFuzzer): the fuzzers run, then the whole suite again, so that
# its CTest summary is the last thing printed.
test:
	scripts/install-deps.sh test
	scripts/check-format.sh
	$(MAKE) --no-print-directory build
	scripts/run-tests.sh $(BUILD_DIR)
	scripts/check-package.sh $(BUILD_DIR)
	$(CONFIGURE) -B $(BUILD_DIR)-sanitize -DCMAKE_CXX_COMPILER=clang++ -DTWIRLSTICK_SANITIZE=ON -DTWIRLSTICK_FUZZ=ON \
	  -DTWIRLSTICK_TESTS=ON -DTWIRLSTICK_BENCH=OFF -DTWIRLSTICK_WERROR=ON
	cmake --build $(BUILD_DIR)-sanitize -j $(JOBS)
	scripts/fuzz.sh $(BUILD_DIR)-sanitize
	scripts/run-tests.sh $(BUILD_DIR)-sanitize

# The game in a browser: build-web/twirlstick.html (serve the folder, e.g. python3 -m http.server).
web:
	JOBS=$(JOBS) scripts/build-web.sh $(BUILD_DIR)-web

# The records server with the browser page from the same origin, on SQLite (README, "Online
# records"). The server is built beside the game; `make run` leaves it out when its libraries
# are missing.
serve:
	scripts/install-deps.sh serve
	$(CONFIGURE) -B $(BUILD_DIR) -DTWIRLSTICK_TESTS=OFF -DTWIRLSTICK_BENCH=OFF -DTWIRLSTICK_WERROR=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target twirlstick-server
	$(MAKE) --no-print-directory web
	$(BUILD_DIR)/game/twirlstick-server --db sqlite:$(BUILD_DIR)/records.db --listen 127.0.0.1:8080 \
	  --web $(BUILD_DIR)-web

# build-fuzz is where older versions built the fuzzers.
clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-fuzz $(BUILD_DIR)-sanitize $(BUILD_DIR)-web
