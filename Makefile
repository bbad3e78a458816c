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

# Installs the build tools and test libraries from Debian's packages when missing.
deps:
	@if ! command -v cmake >/dev/null 2>&1 || ! command -v g++ >/dev/null 2>&1 || \
	    ! ls -d /usr/lib/*/cmake/GTest /usr/lib/cmake/GTest >/dev/null 2>&1 || \
	    ! test -f /usr/include/nlohmann/json.hpp; then \
	  echo "Installing build dependencies (cmake, g++, GoogleTest, Google Benchmark, nlohmann-json)"; \
	  apt-get update && apt-get install -y --no-install-recommends cmake g++ make libgtest-dev libbenchmark-dev nlohmann-json3-dev; \
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

# ---------------------------------------------------------------- fuzzing and soak
# make fuzz   fuzzes the whole run (input reader, echo, analysis, run files) with
#             libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer for
#             FUZZ_SECONDS (default 60); any finding fails it and is kept in
#             build-fuzz/findings/. Needs clang (installed from Debian when missing).
# make soak   analyses SOAK_MODELS (default 10000) random valid models and checks
#             every result; SOAK_SEED picks the models.
.PHONY: fuzz soak
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
CLANGXX      ?= /usr/bin/clang++
SOAK_MODELS  ?= 10000
SOAK_SEED    ?= 1

fuzz: deps
	@if [ ! -x $(CLANGXX) ]; then \
	  echo "Installing clang (libFuzzer)"; \
	  apt-get update && apt-get install -y --no-install-recommends clang; \
	fi
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=$(CLANGXX) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKESTRO_FUZZ=ON -DKESTRO_WERROR=OFF -DKESTRO_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) --target kestro_fuzz -j $(JOBS)
	rm -rf $(FUZZ_BUILD)/corpus && mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/findings
	cp examples/*.kin $(FUZZ_BUILD)/corpus/
	for d in tests/regression/*/; do cp "$$d/input.dat" "$(FUZZ_BUILD)/corpus/$$(basename $$d).dat"; done
	$(FUZZ_BUILD)/tests/fuzz/kestro_fuzz $(abspath $(FUZZ_BUILD))/corpus -dict=$(abspath tests/fuzz/kestro.dict) \
	  -max_total_time=$(FUZZ_SECONDS) -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
	  -artifact_prefix=$(abspath $(FUZZ_BUILD))/findings/

soak: build
	$(BUILD)/tests/soak/kestro_soak --models $(SOAK_MODELS) --seed $(SOAK_SEED)
