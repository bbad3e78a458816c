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
TEST_PACKAGES  = libgtest-dev libbenchmark-dev chromium \
                 python3-numpy python3-pandas python3-pytest python3-dask python3-distributed \
                 python3-setuptools python3-matplotlib python3-jsonschema python3-venv python3-pip
# Debian's interpreter, which sees Debian's Python packages (a python3 found
# first on PATH may be another build without them).
PYTHON     ?= /usr/bin/python3
VENV       ?= .venv

.PHONY: all deps deps-build build build-asan run test test-fast test-python python bench clean

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
	$(MAKE) --no-print-directory test-python

# The JSON model's round trips and the Python package's tests (pytest), on the
# optimised build's command and libraries.
test-python:
	KESTRO_BUILD=$(abspath $(BUILD)) KESTRO_LIBRARY_PATH=$(abspath $(BUILD)) $(PYTHON) -m pytest -q -p no:cacheprovider python/tests

# The Python package in a virtual environment ($(VENV)) that also sees
# Debian's numpy, pandas, dask and matplotlib; installed offline, with the
# engine and model libraries copied into the package.
python: build
	rm -rf python/kestro/_lib && mkdir -p python/kestro/_lib
	cp -P $(BUILD)/libkestro.so* $(BUILD)/libkestro_model.so python/kestro/_lib/
	[ -x $(VENV)/bin/python ] || $(PYTHON) -m venv --system-site-packages $(VENV)
	$(VENV)/bin/pip install --quiet --no-build-isolation --no-index --no-deps ./python
	rm -rf python/build python/kestro.egg-info
	@echo "Python package installed: $(VENV)/bin/python -c 'import kestro'"

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
