# Kestro: the two commands a new user needs.
#   make run    builds the engine and the kestro command and runs the bundled example
#   make test   builds everything and runs every test, then again under the sanitizers

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE    ?= examples/soft-clay-elastic-pile.kin
CMAKE_FLAGS ?=

.PHONY: all deps build build-asan run test test-fast bench clean

all: build

# Installs the build tools, test libraries, the JSON library and the browser used by
# the HTML report test from Debian's packages when missing.
deps:
	@if ! command -v cmake >/dev/null 2>&1 || ! command -v g++ >/dev/null 2>&1 || \
	    ! ls -d /usr/lib/*/cmake/GTest /usr/lib/cmake/GTest >/dev/null 2>&1 || \
	    ! test -f /usr/include/nlohmann/json.hpp || ! command -v chromium >/dev/null 2>&1; then \
	  echo "Installing build dependencies (cmake, g++, GoogleTest, Google Benchmark, nlohmann-json, Chromium)"; \
	  apt-get update && apt-get install -y --no-install-recommends cmake g++ make libgtest-dev libbenchmark-dev \
	    nlohmann-json3-dev chromium; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKESTRO_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)

run: build
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
