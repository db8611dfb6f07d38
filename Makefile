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

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCINESHEET_WERROR=$(WERROR)

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

# Every target built with Clang (build/clang), warnings as errors, the benchmarks too: users
# build with either compiler.
.PHONY: clang
clang:
	./scripts/install-deps clang
	CC=clang CXX=clang++ cmake -S . -B build/clang -DCMAKE_BUILD_TYPE=Release -DCINESHEET_WERROR=ON
	cmake --build build/clang -j $(JOBS) --target all benchmarks

# The plug-in and the stand-in built with GCC 11 (build/gcc11), warnings as errors: Autodesk
# builds Maya 2024 to 2026 with GCC 11.2 (DTS-11), and a devkit build there uses it. Each file is
# compiled on its own, as a devkit build compiles it, which checks that it includes what it uses.
.PHONY: gcc11
gcc11:
	./scripts/install-deps g++-11
	CC=gcc-11 CXX=g++-11 cmake -S . -B build/gcc11 -DCMAKE_BUILD_TYPE=Release -DCINESHEET_WERROR=ON \
		-DCINESHEET_UNITY_BUILD=OFF -DCINESHEET_PCH=OFF
	cmake --build build/gcc11 -j $(JOBS) --target CineSheet cinesheet-host

# The cache, decoding, budget, frame preparation, sequence, sound and node tests (the plug-in's
# loading and unloading among them) under AddressSanitizer with UndefinedBehaviorSanitizer
# (build/asan), then under ThreadSanitizer (build/tsan); any report fails the run. Sanitized code
# runs several times slower, so a refresh waits up to a minute for its frames (opening a UHD clip
# and decoding its first frame take longer than the usual ten seconds under ThreadSanitizer on a
# loaded machine).
SANITIZE_TESTS ?= test_cache test_decode test_budget test_draw test_sequence test_node
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

# Builds the benchmarks only and runs each; they print their figures and the load average, and
# perf (installed for them) gives the first pass its profile.
.PHONY: bench
bench: configure
	./scripts/install-deps linux-perf
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	for benchmark in $(BUILD_DIR)/bench/bench_*; do $$benchmark || exit 1; done

# Shows the plug-in at work in the stand-in host (see docs/building.md): pictures and a summary in out/demo.
# FILE=/path/to/video, FILE='/path/to/shot.####.png' or FILE=/path/to/plate.1001.exr shows the
# user's own media instead of a made clip. It builds the host and the plug-in only, quietly.
.PHONY: demo install
demo:
	@BUILD_DIR=$(BUILD_DIR) BUILD_TYPE=$(BUILD_TYPE) $(if $(FILE),DEMO_FILE="$(FILE)") ./scripts/demo

# The plug-in as a Maya module under PREFIX, for each Maya version of MAYA_VERSIONS:
# CineSheet.mod with a block per version, CineSheet/<version>/plug-ins/libCineSheet.so and the MEL
# scripts in CineSheet/scripts. Each version is built in build/module/<version> with
# CINESHEET_PORTABLE (see README, Installing into Maya): FFmpeg from Debian's source inside the
# plug-in, built once in build/module/ffmpeg (a long first build), and the glibc floor. A version
# is built against the devkit MAYA_DEVKIT_<version> names (MAYA_DEVKIT_2025=/opt/devkit2025),
# else against the stand-in presenting the API closest to it.
PREFIX ?= out/module
MAYA_VERSIONS ?= 2022 2023 2024 2025 2026
MODULE_DIR = build/module
stand_in_api = $(if $(filter 2022 2023,$(1)),20220300,20240200)
define module_version
	cmake -S . -B $(MODULE_DIR)/$(1) -DCMAKE_BUILD_TYPE=Release -DCINESHEET_PORTABLE=ON \
		-DCINESHEET_FFMPEG_DIR=$(CURDIR)/$(MODULE_DIR)/ffmpeg -DCINESHEET_MAYA_VERSION=$(1) \
		-DMAYA_DEVKIT=$(MAYA_DEVKIT_$(1)) -DCINESHEET_MAYA_API=$(call stand_in_api,$(1))
	cmake --build $(MODULE_DIR)/$(1) -j $(JOBS) --target CineSheet
	cmake --install $(MODULE_DIR)/$(1) --prefix $(PREFIX) --component plugin --strip

endef
install: deps
	$(foreach version,$(MAYA_VERSIONS),$(call module_version,$(version)))

# The module installed afresh into build/module/installed, then checked: what it asks of the
# system (glibc and C++ runtime versions, libraries), its licence and size, and the footage it
# plays through MAYA_MODULE_PATH alone (tests/e2e/install_module.sh), in the stand-in host of
# each version built against it that the stand-in presents itself (2022 and 2024).
module_hosts = $(foreach version,$(filter 2022 2024,$(MAYA_VERSIONS)),$(if $(MAYA_DEVKIT_$(version)),,$(version)))
define module_test
	cmake --build $(MODULE_DIR)/$(1) -j $(JOBS) --target cinesheet-host
	CINESHEET_MODULE=$(CURDIR)/$(MODULE_DIR)/installed \
		CINESHEET_HOST=$(CURDIR)/$(MODULE_DIR)/$(1)/host/cinesheet-host sh tests/e2e/install_module.sh

endef
.PHONY: module
module: deps
	rm -rf $(MODULE_DIR)/installed
	$(MAKE) install PREFIX=$(CURDIR)/$(MODULE_DIR)/installed
	$(if $(module_hosts),,@echo "module: no version built against the stand-in, whose host would play it"; exit 1)
	$(foreach version,$(module_hosts),$(call module_test,$(version)))

clean:
	rm -rf build
