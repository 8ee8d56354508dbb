BUILD ?= build
JOBS ?= $(shell nproc)
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
CLANG_PACKAGES = clang libclang-rt-dev
BENCH_PACKAGES = xvfb xauth heaptrack valgrind

.PHONY: all deps build run test bench clean test-sanitize fuzz

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

bench: build
	@scripts/setup-deps.sh $(BENCH_PACKAGES)
	@bench/run-all.sh $(BUILD)

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
