BUILD ?= build
JOBS ?= $(shell nproc)
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
CLANG_PACKAGES = clang libclang-rt-dev
BENCH_PACKAGES = xvfb xauth heaptrack valgrind weston qt6-wayland libwayland-dev wayland-protocols
PACKAGE_PACKAGES = dpkg-dev file

.PHONY: all deps build run test bench package clean test-sanitize fuzz

all: build

deps:
	@scripts/setup-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/ivok2

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Root installs the tools; anyone else is told what is missing, and the figures that need it are skipped.
# Configured again so that a Google Benchmark installed since the last run is found.
bench: deps
	@scripts/setup-deps.sh --optional $(BENCH_PACKAGES)
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)
	@bench/run-all.sh $(BUILD)

# The Debian package $(BUILD)/ivok2_<version>_<arch>.deb, then lintian's report on it.
package: build
	@scripts/setup-deps.sh $(PACKAGE_PACKAGES) --optional lintian
	cd $(BUILD) && cpack -G DEB
	@if command -v lintian >/dev/null; then lintian $(BUILD)/ivok2_*.deb; else echo "lintian not found: not checked"; fi

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer; any report fails its test.
test-sanitize:
	@scripts/setup-deps.sh $(CLANG_PACKAGES)
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DIVOK2_SANITIZE=ON -DIVOK2_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# Each fuzzer for FUZZ_SECONDS; fails when any of them finds a crash, a broken property, a hang or a leak.
fuzz:
	@scripts/setup-deps.sh $(CLANG_PACKAGES)
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DIVOK2_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	fuzz/run-all.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
