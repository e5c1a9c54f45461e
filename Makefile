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

run: build
	scripts/start $(BUILD_DIR)/quenmark

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bench/quenmark_bench

clean:
	rm -rf $(BUILD_DIR)
