# Kestro: the two commands a new user needs.
#   make run    builds the engine and the kestro command and runs the bundled example
#   make test   builds everything and runs every test, then again under the sanitizers

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE    ?= examples/soft-clay-elastic-pile.kin
CMAKE_FLAGS ?=

# Debian packages, one list each: what building the engine and the command
# needs, and what the tests and benchmarks need on top. tools/check-deps.sh
# installs only the missing ones (as root), or names them (as another user).
BUILD_PACKAGES = cmake g++ make
TEST_PACKAGES  = libgtest-dev libbenchmark-dev

.PHONY: all deps deps-build build build-asan run test test-fast bench clean

all: build

deps-build:
	@sh tools/check-deps.sh $(BUILD_PACKAGES)

deps:
	@sh tools/check-deps.sh $(BUILD_PACKAGES) $(TEST_PACKAGES)

# The engine, the command and the tests.
build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRO_BUILD_TESTS=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKESTRO_SANITIZE=ON -DKESTRO_BUILD_TESTS=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# Only the engine and the command: the first result comes without the tests' build.
run: deps-build
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target kestro_cli
	$(BUILD)/kestro run $(EXAMPLE)

test: build build-asan
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The optimised build's tests only, for quick turns while developing.
test-fast: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/kestro_bench*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
