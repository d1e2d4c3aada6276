#!/usr/bin/env bash
# Builds and runs every test: the release and the sanitizer presets, then the
# further stages listed below. Installs missing Debian packages when run as
# root (apt-get update first); otherwise says what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

. tests/ensure_packages.sh
ensure_packages tests cmake g++ make libgtest-dev

for preset in linux asan; do
  echo "== $preset: build"
  # ON, not the default AUTO: a missing GoogleTest fails here instead of
  # leaving nothing to test.
  cmake --preset "$preset" -DZOINT_BUILD_TESTS=ON >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset" -j2
done

# Hostile input: a minute of fuzzing, the case table under valgrind.
tests/hostile_stage.sh

echo "== benchmark smoke run: both searches agree on a small seeded set"
build/linux/bench/search_bench --quick

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
