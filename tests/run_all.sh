#!/usr/bin/env bash
# Builds and runs every test: the release and the sanitizer presets, then the
# further stages listed below. Installs missing Debian packages when run as
# root (apt-get update first); otherwise says what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libgtest-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" = 0 ]; then
    echo "== installing: ${missing[*]}"
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  else
    echo "missing Debian packages: ${missing[*]} (run as root, or install them)" >&2
    exit 1
  fi
fi

for preset in linux asan; do
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset" -j2
done
tests/hostile_stage.sh

echo "== benchmark smoke run: both searches agree on a small seeded set"
build/linux/bench/search_bench --quick

# The shared instances, when their folder sits beside the project: every
# answer must be byte-identical to the expected one; the times of the library
# and of CBC are printed side by side.
if [ -d ../shared/instances ]; then
  if ! command -v cbc >/dev/null 2>&1; then
    if [ "$(id -u)" = 0 ]; then
      echo "== installing: coinor-cbc"
      apt-get update -q
      DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends coinor-cbc
    else
      echo "missing Debian package coinor-cbc: CBC's times are not shown" >&2
    fi
  fi
  echo "== linux: shared instances, library against CBC"
  bench/instances_bench.sh --runs 3
fi

# The Windows DLLs: cross-built, checked, and run under wine.
tests/windows/run.sh

echo "== all tests passed"
