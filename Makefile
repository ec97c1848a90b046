# Quick start:
#   make demo   installs what the build lacks, builds, and runs `qorkit tour`
#   make test   installs what the build lacks, builds, and runs the test suite
PRESET ?= release
BUILD_DIR := build/$(PRESET)

.PHONY: all deps configure build demo test asan-test fuzz-smoke format clean

all: build

deps:
	@tools/install-deps.sh build

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

demo: build
	$(BUILD_DIR)/tools/qorkit/qorkit tour

test: build
	ctest --preset $(PRESET)

asan-test:
	$(MAKE) test PRESET=asan

fuzz-smoke:
	@tools/install-deps.sh build fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz
	tools/fuzz-smoke.sh build/fuzz/fuzz 10

format:
	clang-format -i $$(git ls-files '*.h' '*.cpp')

clean:
	rm -rf build
