# Quick start (on a machine without make: sh quickstart.sh demo | test):
#   make demo   installs what the build lacks, builds the library and the tool, runs `qorkit tour`
#   make test   installs what the build lacks, builds everything, and runs the test suite
PRESET ?= release
BUILD_DIR := build/$(PRESET)

.PHONY: all deps configure build demo test asan-test fuzz-smoke check-headers format clean

all: build

deps:
	@tools/install-deps.sh build

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

demo: configure
	cmake --build --preset $(PRESET) --target qorkit_tool
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

check-headers:
	tools/check-headers.sh

format:
	clang-format -i $$(git ls-files '*.h' '*.cpp')

clean:
	rm -rf build
