# Thin wrapper over CMake presets; see README.md.
MAKEFLAGS += --no-print-directory
.PHONY: all deps build build-asan run test clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j 2

build-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j 2

run: build
	@scripts/run.sh

test: build build-asan
	@ctest --preset default -j 2
	@ctest --preset asan -j 2

clean:
	rm -rf build build-asan build-fuzz out
