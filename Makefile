# Thin wrapper around CMake. `make test` and `make demo` work on a fresh Debian 12 machine.
BUILD_DIR ?= build/release
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test sanitize clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build api2022
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The plug-in (and the stand-in presenting Maya 2022.3's API) must build in the other API mode too.
.PHONY: api2022
api2022: deps
	cmake -S . -B build/api2022 -DCMAKE_BUILD_TYPE=Release -DCINESHEET_MAYA_API=20220300
	cmake --build build/api2022 -j $(JOBS) --target CineSheet

# The cache, decoding, budget, frame preparation and sequence tests under AddressSanitizer with
# UndefinedBehaviorSanitizer (build/asan), then under ThreadSanitizer (build/tsan); any report
# fails the run. Sanitized code runs several times slower, so a refresh waits up to a minute for
# its frames (opening a UHD clip and decoding its first frame take longer than the usual ten
# seconds under ThreadSanitizer on a loaded machine).
SANITIZE_TESTS ?= test_cache test_decode test_budget test_frameprep test_sequence
SANITIZE_ENV = CINESHEET_FRAME_WAIT_MS=60000 \
	ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	TSAN_OPTIONS=allocator_may_return_null=1:halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan-ffmpeg.supp

define sanitized_tests
	cmake -S . -B build/$(1) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCINESHEET_SANITIZE=$(2)
	cmake --build build/$(1) -j $(JOBS) --target $(SANITIZE_TESTS)
	for test in $(SANITIZE_TESTS); do $(SANITIZE_ENV) build/$(1)/tests/$$test || exit 1; done
endef

sanitize: deps
	$(call sanitized_tests,asan,address)
	$(call sanitized_tests,tsan,thread)

# Mutated media and node lifetimes through the host under AddressSanitizer for a few minutes
# (STRESS_SECONDS); reports crashes, hangs and sanitizer reports. Not run by CI.
.PHONY: stress
stress: deps
	STRESS_SECONDS=$(or $(STRESS_SECONDS),180) ./scripts/stress

# Builds the benchmarks only and runs each; they print their figures and the load average.
.PHONY: bench
bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	for benchmark in $(BUILD_DIR)/bench/bench_*; do $$benchmark || exit 1; done

# Shows the plug-in at work in the stand-in host (see README): pictures and a summary in out/demo.
# FILE=/path/to/video-or-sequence.####.png shows the user's own media instead of a made clip.
.PHONY: demo install
demo: build
	DEMO_SKIP_BUILD=1 BUILD_DIR=$(BUILD_DIR) $(if $(FILE),DEMO_FILE="$(FILE)") ./scripts/demo

# The plug-in as a Maya module under PREFIX: CineSheet.mod and CineSheet/plug-ins/libCineSheet.so.
PREFIX ?= out/module
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf build
