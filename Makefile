# Set-up, build and test entry points; see README.md.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD?= build-bench
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
# Warnings as errors (TOOL_WERROR); .ci/run sets it explicitly.
WERROR     ?= ON

.PHONY: deps build test run bench asan fuzz fuzz-build fuzz-ci clean

deps:
	@bash .ci/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOOL_WERROR=$(WERROR)
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	cd data && "$(abspath $(BUILD))/src/app/palette_designer"

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOOL_BENCH=ON -DBUILD_TESTING=OFF -DTOOL_WERROR=$(WERROR)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target tool_bench
	./$(BENCH_BUILD)/bench/tool_bench

asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOOL_SANITIZE=ON -DTOOL_WERROR=$(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# fuzz: long random runs that look for new faults. fuzz-ci: the committed
# inputs, then fixed-seed runs of fixed length, so the verdict depends only on
# the commit (fuzz/run-all says more).
FUZZ_SECONDS ?= 600
fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOOL_FUZZ=ON -DTOOL_WERROR=$(WERROR)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all

fuzz: fuzz-build
	FUZZ_SECONDS=$(FUZZ_SECONDS) bash fuzz/run-all $(FUZZ_BUILD)

fuzz-ci: fuzz-build
	bash fuzz/run-all --ci $(FUZZ_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
