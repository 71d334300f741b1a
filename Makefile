# Thin wrapper over CMake presets; see README.md.
MAKEFLAGS += --no-print-directory
.PHONY: all deps build build-run build-asan build-tsan build-fuzz run test exhaustive fuzz-long clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j 2

build-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j 2

build-tsan: deps
	@cmake --preset tsan >/dev/null
	@cmake --build --preset tsan -j 2

build-fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j 2

# Only what scripts/run.sh runs, so that a first run does not wait for the test suite.
build-run: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j 2 --target rasterview rastershot viewer_tour

run: build-run
	@scripts/run.sh

# Unit, end-to-end and robustness tests; the unit tests again under ASan + UBSan;
# the threaded ones under ThreadSanitizer; then a bounded libFuzzer run. An
# end-to-end test that fails runs once more: they drive a real X server, whose
# timing a shared, loaded machine can upset; one that fails twice fails the run.
test: build build-asan build-tsan build-fuzz
	@ctest --preset default -j 2 -LE e2e
	@ctest --preset default -j 2 -L e2e --repeat until-pass:2
	@ctest --preset asan -j 2
	@ctest --preset tsan -j 2
	@ctest --preset fuzz

# Checks over every float input, minutes each: the vector mip-level logarithm
# on every vector target, and float square roots against double ones.
exhaustive: build
	build/tests/raster/level_log_exhaustive
	build/tests/raster/float_sqrt_exhaustive

# An hour of fuzzing; findings land in build-fuzz/fuzz-findings/.
fuzz-long: build-fuzz
	build-fuzz/tests/fuzz/fuzz_raster -max_total_time=3600 -timeout=30 -rss_limit_mb=8192 \
	  -artifact_prefix=build-fuzz/fuzz-findings/ build-fuzz/fuzz-corpus tests/fuzz/corpus

clean:
	rm -rf build build-asan build-tsan build-fuzz out
