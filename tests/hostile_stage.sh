#!/usr/bin/env bash
# The hostile-input stage of tests/run_all.sh: the libFuzzer target for a
# bounded time (ZOINT_FUZZ_SECONDS, default 60), then the case table through
# the CLI under valgrind. Installs clang, libFuzzer and valgrind when run as
# root (apt-get update first); otherwise says what is missing. Needs the
# linux preset built.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(clang-14 libclang-rt-14-dev valgrind)
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

tests/fuzz/fuzz.sh "${ZOINT_FUZZ_SECONDS:-60}"
echo "== valgrind: case table through the CLI"
tests/valgrind_cases.sh
