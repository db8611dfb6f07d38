# Thin wrapper around CMake. `make test` and `make demo` work on a fresh Debian 12 machine.
BUILD_DIR ?= build/release
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# The make that CMake's build runs says nothing of the folders it enters.
MAKEFLAGS += --no-print-directory
# Warnings are errors where the project's CI builds (make test, make clang); a user's plain
# build is not stopped by a warning of another compiler or FFmpeg version.
WERROR ?= OFF

.PHONY: all deps configure build test sanitize clean

all: build

deps:
	./scripts/install-deps

# BUNDLE_FFMPEG=OFF|ON: whether `make install` copies FFmpeg into the module (kept by the build
# folder until given again; ON by default).
configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCINESHEET_WERROR=$(WERROR) \
		$(if $(BUNDLE_FFMPEG),-DCINESHEET_BUNDLE_FFMPEG=$(BUNDLE_FFMPEG))

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: WERROR = ON
test: build api2022
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The plug-in (and the stand-in presenting Maya 2022.3's API) must build in the other API mode too,
# and there too the placeholder card must show in a snapshot (2023's setTexture discards texels
# whose alpha is under 0.05; what 2022's does with alpha is not documented).
.PHONY: api2022
api2022: deps
	cmake -S . -B build/api2022 -DCMAKE_BUILD_TYPE=Release -DCINESHEET_MAYA_API=20220300 \
		-DCINESHEET_WERROR=$(WERROR)
	cmake --build build/api2022 -j $(JOBS) --target CineSheet cinesheet-host
	ctest --test-dir build/api2022 --output-on-failure -R 'e2e\.(frameprep_snapshot|footage_warnings)$$'

# Every target built with Clang (build/clang), warnings as errors: users build with either
# compiler.
.PHONY: clang
clang:
	./scripts/install-deps clang
	CC=clang CXX=clang++ cmake -S . -B build/clang -DCMAKE_BUILD_TYPE=Release -DCINESHEET_WERROR=ON
	cmake --build build/clang -j $(JOBS)

# The cache, decoding, budget, frame preparation and sequence tests under AddressSanitizer with
# UndefinedBehaviorSanitizer (build/asan), then under ThreadSanitizer (build/tsan); any report
# fails the run. Sanitized code runs several times slower, so a refresh waits up to a minute for
# its frames (opening a UHD clip and decoding its first frame take longer than the usual ten
# seconds under ThreadSanitizer on a loaded machine).
SANITIZE_TESTS ?= test_cache test_decode test_budget test_draw test_sequence
SANITIZE_ENV = CINESHEET_FRAME_WAIT_MS=60000 \
	ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	TSAN_OPTIONS=allocator_may_return_null=1:halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan-ffmpeg.supp

# Then several nodes scrubbed and reloaded through the sanitized host (SANITIZE_SCRIPTS).
SANITIZE_SCRIPTS ?= node_reloads
define sanitized_tests
	cmake -S . -B build/$(1) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCINESHEET_SANITIZE=$(2)
	cmake --build build/$(1) -j $(JOBS) --target $(SANITIZE_TESTS) cinesheet-host CineSheet
	for test in $(SANITIZE_TESTS); do $(SANITIZE_ENV) build/$(1)/tests/$$test || exit 1; done
	for script in $(SANITIZE_SCRIPTS); do \
		$(SANITIZE_ENV) RELOAD_ROUNDS=40 CINESHEET_HOST=build/$(1)/host/cinesheet-host \
		CINESHEET_PLUGIN=build/$(1)/plugin/libCineSheet.so sh tests/e2e/$$script.sh || exit 1; \
	done
endef

sanitize: deps
	$(call sanitized_tests,asan,address)
	$(call sanitized_tests,tsan,thread)

# Sixty nodes under a small budget (memory within the budget plus each node's minimum), then
# mutated media and node lifetimes through the host under AddressSanitizer for a few minutes
# (STRESS_SECONDS); reports crashes, hangs and sanitizer reports. Not run by CI.
.PHONY: stress
stress: deps
	./scripts/stress-nodes
	STRESS_SECONDS=$(or $(STRESS_SECONDS),180) ./scripts/stress

# Builds the benchmarks only and runs each; they print their figures and the load average.
.PHONY: bench
bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	for benchmark in $(BUILD_DIR)/bench/bench_*; do $$benchmark || exit 1; done

# Shows the plug-in at work in the stand-in host (see README): pictures and a summary in out/demo.
# FILE=/path/to/video, FILE='/path/to/shot.####.png' or FILE=/path/to/plate.1001.exr shows the
# user's own media instead of a made clip. It builds the host and the plug-in only, quietly.
.PHONY: demo install
demo:
	@BUILD_DIR=$(BUILD_DIR) BUILD_TYPE=$(BUILD_TYPE) $(if $(FILE),DEMO_FILE="$(FILE)") ./scripts/demo

# The plug-in as a Maya module under PREFIX: CineSheet.mod, CineSheet/plug-ins/libCineSheet.so,
# the FFmpeg it needs in CineSheet/plug-ins/lib (unless BUNDLE_FFMPEG=OFF) and the MEL scripts.
PREFIX ?= out/module
install: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target CineSheet
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf build
