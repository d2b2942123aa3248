# Zembrak: `make run` builds and starts the board, `make test` builds and
# runs every test. Both install what is missing first.

BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
# Paths inside the tree hash as relative ones, so that every clone shares
# the compiler cache.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

.PHONY: run test deps build bench perf sanitize package fuzz clean

run: build
	$(BUILD)/bin/zembrak

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# Builds and prints the benchmark figures.
bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b; done

# The Debian package, in $(BUILD)/packages.
package: build
	cd $(BUILD) && cpack -G DEB

# Measures the real program under its own Xvfb and writes docs/PERFORMANCE.md.
# PERF_BEFORE is the board it is measured against with the clock running: by
# default the last commit before the day's files were kept on disk (built
# once in $(BUILD)/perf-before); PERF_BEFORE= leaves it out.
PERF_BEFORE ?= 45300e2
perf: deps
	cmake -S . -B $(BUILD) -G Ninja -DZEMBRAK_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target zembrak perf_probe perf_floor bench_Tick
	PERF_BEFORE=$(PERF_BEFORE) bench/perf.sh $(BUILD)/bin/zembrak $(BUILD)/bin/perf_probe docs/PERFORMANCE.md

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="-DZEMBRAK_SANITIZE=ON -DZEMBRAK_BENCH=OFF $(CMAKE_FLAGS)"

# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS,
# starting from its committed seeds in fuzz/corpus/<Name>; what it finds
# goes to build-fuzz/corpus, and a crashing input to build-fuzz.
FUZZ_SECONDS ?= 60
fuzz: deps
	CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja $(FUZZ_CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS)
	@set -e; for target in build-fuzz/bin/fuzz_*; do \
		name=$${target##*/fuzz_}; \
		mkdir -p build-fuzz/corpus/$$name fuzz/corpus/$$name; \
		echo "== $$name, $(FUZZ_SECONDS) s"; \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
		$$target -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=build-fuzz/$$name- \
			build-fuzz/corpus/$$name fuzz/corpus/$$name; \
	done

clean:
	rm -rf build build-sanitize build-fuzz
