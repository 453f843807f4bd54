# The two commands of the README: `make run` and `make test`; beside them the
# instrumented runs `make fuzz` and `make test-sanitize`, each in a build
# folder of its own, built with clang.
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
SANITIZE_BUILD ?= build-sanitize
# Seconds of fuzzing for each target, and the targets (fuzz/).
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= bitmap project compressed psnr rectfields
JOBS ?= $(shell nproc)
# ccache speeds up rebuilds where it is installed; the build needs none.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: all deps configure build run test bench fuzz test-sanitize clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(LAUNCHER) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-sample.sh $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/run-bench.sh $(BUILD)

CLANG := -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

fuzz:
	@scripts/install-deps.sh clang
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CLANG) $(LAUNCHER) \
	  -DTVLC_FUZZ=ON -DTVLC_BUILD_TESTS=OFF -DTVLC_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix tvlc_fuzz_,$(FUZZ_TARGETS))
	@scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

test-sanitize:
	@scripts/install-deps.sh clang
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CLANG) $(LAUNCHER) \
	  -DTVLC_SANITIZE=ON -DTVLC_BUILD_BENCH=OFF -DTVLC_MEMORY_LIMIT_TESTS=OFF >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@scripts/test-sanitize.sh $(SANITIZE_BUILD) $(JOBS)

clean:
	@rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD)
