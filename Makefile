# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: setup configure build run run-quenlite test bench fuzz dict clean

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

# Regenerates resources/dict from the Debian lexicons; the same package versions give the
# same bytes (see resources/dict/README.md).
dict:
	bash scripts/setup.sh --dict
	mkdir -p build-dict
	c++ -std=c++20 -O2 tools/dictgen/lzma_alone_pack.cpp -llzma -o build-dict/lzma_alone_pack
	python3 -B tools/dictgen/dictgen.py --out build-dict/tables --packer build-dict/lzma_alone_pack
	for t in small large; do \
	  xz --format=lzma -dc build-dict/tables/$${t}_table.lzma | cmp - build-dict/tables/$${t}_table.txt || exit 1; \
	done
	cp build-dict/tables/small_table.lzma build-dict/tables/large_table.lzma \
	  build-dict/tables/conjugation_table.txt resources/dict/

clean:
	rm -rf $(BUILD) fuzz-build build-dict
