#!/usr/bin/env bash
# Builds and runs every test: the release and the sanitizer presets, then the
# further stages listed below. Installs missing Debian packages when run as
# root (apt-get update first); otherwise says what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

. tests/ensure_packages.sh
# CoinUtils reads LP and MPS files, zlib .gz files; python3 runs the Python
# module's tests; glpsol and CBC write the model files the readers are
# checked against.
ensure_packages tests cmake g++ make libgtest-dev coinor-libcoinutils-dev zlib1g-dev python3 glpk-utils coinor-cbc

for preset in linux asan; do
  echo "== $preset: build"
  # ON, not the default AUTO: a missing GoogleTest fails here instead of
  # leaving nothing to test.
  cmake --preset "$preset" -DZOINT_BUILD_TESTS=ON >/dev/null
  # The builds find CoinUtils and zlib by themselves and do without them;
  # the tests must have them.
  for found in ZOINT_HAVE_COINUTILS ZOINT_HAVE_ZLIB; do
    grep -q "^$found:INTERNAL=ON$" "build/$preset/CMakeCache.txt" || {
      echo "$preset: configured without ${found#ZOINT_HAVE_}" >&2
      exit 1
    }
  done
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset" -j2
done

# Hostile input: a minute of fuzzing, the case table under valgrind.
tests/hostile_stage.sh

echo "== benchmark smoke run: both searches agree on a small seeded set"
build/linux/bench/search_bench --quick

echo "== zoint solve: how soon --time-limit and SIGINT stop a hard search"
bench/stop_latency.sh

# The shared instances, when their folder sits beside the project: every
# answer must be byte-identical to the expected one; the times of the library
# and of CBC are printed side by side.
if [ -d ../shared/instances ]; then
  ensure_packages instances coinor-cbc || echo "CBC's times are not shown" >&2
  echo "== linux: shared instances, library against CBC"
  bench/instances_bench.sh --runs 3
fi

# The 32-bit build of the library under qemu-i386, computing as the 32-bit
# Windows DLL does.
tests/i386_stage.sh

# The Windows DLLs: cross-built, checked, and run under wine.
tests/windows/run.sh

# Install, packages, and programs built against them.
tests/packaging/run.sh

echo "== all tests passed"
