# Kestro: the two commands a new user needs.
#   make run    builds the engine and the kestro command and runs the bundled example
#   make test   builds everything and runs every test, then again under the sanitizers
#   make verify runs the verification problems and writes the verification manual
#               (docs/verification/)

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE    ?= examples/soft-clay-elastic-pile.kin
CMAKE_FLAGS ?=

# Debian packages, one list each: what building the engine and the command
# needs, what the tests and benchmarks need on top, what the verification
# manual's generator needs (Debian's own python3 with numpy, matplotlib for the
# SVG charts and markdown for the HTML page; the tests run a subset of it), and
# what the browser app needs (the engine compiled to WebAssembly by Debian's
# emscripten, whose JavaScript optimiser needs acorn, and node for the browser
# tests, which drive Debian's chromium through puppeteer-core).
# tools/check-deps.sh installs only the missing ones (as root), or names them
# (as another user).
BUILD_PACKAGES  = cmake g++ make nlohmann-json3-dev
VERIFY_PACKAGES = python3 python3-numpy python3-matplotlib python3-markdown
TEST_PACKAGES   = libgtest-dev libbenchmark-dev chromium poppler-utils $(VERIFY_PACKAGES) $(PYTHON_PACKAGES)
WEB_PACKAGES    = emscripten node-acorn nodejs npm chromium
# The JSON model's and the Python package's tests, and `make python`.
PYTHON_PACKAGES = python3-numpy python3-pandas python3-pytest python3-dask python3-distributed \
                  python3-setuptools python3-matplotlib python3-jsonschema python3-venv python3-pip
# Debian's interpreter, which sees Debian's Python packages (a python3 found
# first on PATH may be another build without them).
PYTHON     ?= /usr/bin/python3
VENV       ?= .venv

.PHONY: all deps deps-build deps-verify deps-web build build-asan run test test-fast bench clean verify web web-test web-bench install test-python python

all: build

deps-build:
	@sh tools/check-deps.sh $(BUILD_PACKAGES)

deps:
	@sh tools/check-deps.sh $(BUILD_PACKAGES) $(TEST_PACKAGES)

deps-verify:
	@sh tools/check-deps.sh $(BUILD_PACKAGES) $(VERIFY_PACKAGES)

deps-web:
	@sh tools/check-deps.sh $(WEB_PACKAGES)

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

# Builds what it installs (the library and the command) and installs them, with
# the header, the CMake package and the pkg-config file, under PREFIX.
PREFIX ?= /usr/local
install: deps-build
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target kestro kestro_cli
	cmake --install $(BUILD) --prefix $(PREFIX)

test: build build-asan web
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory web-test
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
	rm -rf $(BUILD) $(ASAN_BUILD) $(WEB_BUILD) web/dist

# ---------------------------------------------------------------- the browser app
# make web       builds web/dist/: the engine and the results-file writers as
#                WebAssembly (web/src/), the page (web/app/) and the examples.
#                Static files only; `kestro web` serves them on 127.0.0.1.
# make web-test  the browser tests (web/test/) in headless Debian chromium, with
#                the native kestro command as the reference.
# make web-bench times the benchmark pile in the browser against the native run
#                and measures the page's first load (compressed bytes).
WEB_BUILD   ?= build-web
WEB_DIST    ?= web/dist
EMCC        ?= emcc
export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
# ccache wraps the compiler that emcc calls, so a second build only links.
export EM_COMPILER_WRAPPER ?= $(shell command -v ccache 2>/dev/null)
WEB_SOURCES := $(shell find src -name '*.cpp' | sort) app/PlotReader.cpp app/AxialResults.cpp app/RunReport.cpp \
               app/ResultFiles.cpp app/ResultsJson.cpp app/JsonWriter.cpp app/HtmlReport.cpp app/Tables.cpp app/ModelJson.cpp app/Convert.cpp \
               web/src/ResultsBridge.cpp
WEB_OBJECTS := $(patsubst %.cpp,$(WEB_BUILD)/obj/%.o,$(WEB_SOURCES))
WEB_CXXFLAGS = -std=c++20 -O2 -DNDEBUG -fexceptions -ffp-contract=off -Isrc -Iinclude -I$(WEB_BUILD)/inc \
               -include web/src/CharconvCompat.h -MMD -MP
WEB_LDFLAGS  = -O2 -fexceptions -sMODULARIZE=1 -sEXPORT_NAME=KestroEngine -sENVIRONMENT=worker \
               -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1 -sEXPORTED_FUNCTIONS=_KGO,_KestroResultFiles,_KestroConvert \
               -sEXPORTED_RUNTIME_METHODS=FS,ccall
WEB_APP     := $(wildcard web/app/*)

web: deps-web $(WEB_DIST)/kestro-engine.js $(WEB_DIST)/index.html

$(WEB_BUILD)/inc/nlohmann:
	@mkdir -p $(WEB_BUILD)/inc
	ln -sfn /usr/include/nlohmann $@

$(WEB_BUILD)/obj/%.o: %.cpp | $(WEB_BUILD)/inc/nlohmann
	@mkdir -p $(dir $@)
	$(EMCC) $(WEB_CXXFLAGS) -c $< -o $@

$(WEB_DIST)/kestro-engine.js: $(WEB_OBJECTS)
	@mkdir -p $(WEB_DIST)
	$(EMCC) $(WEB_LDFLAGS) $(WEB_OBJECTS) -o $@

$(WEB_DIST)/index.html: $(WEB_APP) $(wildcard examples/*.kin) web/tools/examples.sh
	@mkdir -p $(WEB_DIST)/examples
	cp web/app/* $(WEB_DIST)/
	sh web/tools/examples.sh examples $(WEB_DIST)/examples

-include $(WEB_OBJECTS:.o=.d)

web/node_modules/.package-lock.json: web/package.json web/package-lock.json
	cd web && npm ci --no-audit --no-fund
	@touch $@

web-test: web web/node_modules/.package-lock.json
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target kestro_cli
	KESTRO=$(abspath $(BUILD))/kestro node web/test/roundtrip.mjs
	KESTRO=$(abspath $(BUILD))/kestro node web/test/run.mjs

web-bench: web web/node_modules/.package-lock.json
	cmake --build $(BUILD) -j $(JOBS) --target kestro_cli
	KESTRO=$(abspath $(BUILD))/kestro node web/test/bench.mjs

# The verification manual: every verification problem of examples/verification/
# run with the kestro command against references computed independently by the
# generator; writes docs/verification/README.md, index.html and the SVG charts,
# and fails when a problem fails. Debian's python3 is named explicitly: the
# python3 first on PATH may be another build without Debian's packages.
VERIFY_PYTHON ?= /usr/bin/python3
verify: deps-verify
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target kestro_cli
	$(VERIFY_PYTHON) tools/verification/verify.py --kestro $(BUILD)/kestro --work $(BUILD)/verification

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
	$(PYTHON) tools/bad-values.py $(BUILD)/kestro --jobs $(JOBS) --sample $(BAD_VALUES_SAMPLE)
