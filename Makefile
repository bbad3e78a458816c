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
BUILD_PACKAGES = cmake g++ make nlohmann-json3-dev
TEST_PACKAGES  = libgtest-dev libbenchmark-dev chromium python3

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

# ---------------------------------------------------------------- fuzzing and soak
# make fuzz   fuzzes the whole run (input reader, echo, analysis, run files) with
#             libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer for
#             FUZZ_SECONDS (default 60); any finding fails it and is kept in
#             build-fuzz/findings/. Needs clang (installed from Debian when missing).
# make soak   analyses SOAK_MODELS (default 10000) random valid models and checks
#             every result; SOAK_SEED picks the models.
# make bad-values  sets every numeric field of every example in turn to 0, -1,
#             1e30, -1e30, 1e-30 and 1e11 and runs it (BAD_VALUES_SAMPLE=n takes
#             every n-th field); a run that ends normally with changed results
#             while a field holds +-1e30 is a finding. A sample runs in make test.
.PHONY: fuzz soak bad-values
BAD_VALUES_SAMPLE ?= 1
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
CLANGXX      ?= /usr/bin/clang++
SOAK_MODELS  ?= 10000
SOAK_SEED    ?= 1

fuzz: deps
	@sh tools/check-deps.sh clang
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

bad-values: build
	python3 tools/bad-values.py $(BUILD)/kestro --jobs $(JOBS) --sample $(BAD_VALUES_SAMPLE)
