# The two commands of the project: `make run` and `make test`.
BUILD_DIR ?= build
WERROR ?= OFF
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test build bootstrap configure clean bench

bootstrap:
	scripts/bootstrap

configure: bootstrap
	cmake -S . -B $(BUILD_DIR) -DQUENMARK_WERROR=$(WERROR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Only the program directory: the programs, their modules and resources.
run: configure
	cmake --build $(BUILD_DIR) --target quenmark_program_directory -j $(JOBS)
	scripts/start $(BUILD_DIR)/quenmark

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bench/quenmark_bench

# quenmark-console beside `bc -l` and python3 on the same inputs, in
# interleaved rounds; COMPARE_ROUNDS rounds, COMPARE_WORKLOADS a comma list
# (expr100k,vars1k,one,vars100k,history10k; all by default).
COMPARE_ROUNDS ?= 5
COMPARE_WORKLOADS ?= expr100k,vars1k,one,vars100k,history10k

.PHONY: bench-compare
bench-compare: build
	bench/compare.py --program-dir $(BUILD_DIR)/quenmark --rounds $(COMPARE_ROUNDS) \
	  --workloads $(COMPARE_WORKLOADS)

# The desktop program started on a private Xvfb display with openbox:
# exec to main window mapped, and idle memory; DESKTOP_ROUNDS rounds.
DESKTOP_ROUNDS ?= 15

.PHONY: bench-desktop
bench-desktop: build
	bench/desktop_start.py --program-dir $(BUILD_DIR)/quenmark --rounds $(DESKTOP_ROUNDS)

clean:
	rm -rf $(BUILD_DIR)

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# in a build directory of its own; the desktop program is left out.
SANITIZE_DIR ?= build-sanitize
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_string_checks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan_suppressions.txt:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: sanitize
sanitize: bootstrap
	cmake -S . -B $(SANITIZE_DIR) -DQUENMARK_WERROR=$(WERROR) -DQUENMARK_SANITIZE=ON \
	  -DQUENMARK_BUILD_DESKTOP=OFF -DQUENMARK_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

# libFuzzer harnesses (fuzz/), built by clang in a build directory of their
# own. `make fuzz` builds them and runs each in turn, one at a time and at
# low priority, until FUZZ_RUNS executions or FUZZ_SECONDS have passed;
# FUZZERS chooses the harnesses. Findings go to $(FUZZ_DIR)/findings/.
FUZZ_DIR ?= build-fuzz
FUZZ_RUNS ?= 10000000
FUZZ_SECONDS ?= 1800
FUZZERS ?= process_line_fuzzer profile_fuzzer unit_file_fuzzer messages_fuzzer \
	saved_variables_fuzzer history_fuzzer token_record_fuzzer module_loading_fuzzer

.PHONY: fuzz-build fuzz
fuzz-build: bootstrap
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DQUENMARK_FUZZ=ON -DQUENMARK_SANITIZE=ON \
	  -DQUENMARK_BUILD_TESTS=OFF -DQUENMARK_BUILD_BENCH=OFF -DQUENMARK_BUILD_DESKTOP=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) --target quenmark_fuzzers -j $(JOBS)

fuzz: fuzz-build
	fuzz/run_fuzzers $(FUZZ_DIR) $(FUZZ_RUNS) $(FUZZ_SECONDS) $(FUZZERS)

# The terminal front end killed with SIGKILL at random moments of its saves
# (CRASH_RUNS times), and one run of SOAK_LINES lines with every answer
# checked and the resident memory sampled. `make test` runs both briefly.
CRASH_RUNS ?= 1000
SOAK_LINES ?= 1000000

.PHONY: endurance-build crash-safety soak
endurance-build: configure
	cmake --build $(BUILD_DIR) --target quenmark_endurance_tests -j $(JOBS)

crash-safety: endurance-build
	QUENMARK_CRASH_RUNS=$(CRASH_RUNS) $(BUILD_DIR)/tests/quenmark_endurance_tests --gtest_filter='CrashSafetyTest.*'

soak: endurance-build
	QUENMARK_SOAK_LINES=$(SOAK_LINES) $(BUILD_DIR)/tests/quenmark_endurance_tests --gtest_filter='SoakTest.*'

# The Debian packages quenmark-common, quenmark-console, quenmark and
# quenmark-dev, built from the whole build and written into the build
# directory as NAME_VERSION-REVISION_ARCH.deb, then checked by lintian: any
# error or warning fails the target. Install them with
# `apt-get install ./BUILD_DIR/quenmark*.deb`.
.PHONY: package
package: configure
	rm -f $(BUILD_DIR)/quenmark*.deb
	cmake --build $(BUILD_DIR) -j $(JOBS) --target package
	lintian --pedantic --fail-on error,warning $(BUILD_DIR)/quenmark*.deb
