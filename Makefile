# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: setup configure build run run-quenlite test bench fuzz clean

setup:
	@bash scripts/setup.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: setup $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/editor/app/orvi

run-quenlite: build
	./$(BUILD)/converter/app/quenlite

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

bench: build
	bash bench/run.sh $(BUILD)

# libFuzzer targets in their own clang build (not part of `make test`).
fuzz:
	bash scripts/setup.sh --fuzz
	CC=clang CXX=clang++ cmake -S . -B fuzz-build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DOQ_BUILD_FUZZ=ON -DOQ_BUILD_APPS=OFF -DOQ_BUILD_TESTS=OFF -DOQ_BUILD_BENCH=OFF
	cmake --build fuzz-build -j$(JOBS)

clean:
	rm -rf $(BUILD) fuzz-build
