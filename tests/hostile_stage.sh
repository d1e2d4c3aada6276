#!/usr/bin/env bash
# The hostile-input stage of tests/run_all.sh: the libFuzzer target for a
# bounded time (ZOINT_FUZZ_SECONDS, default 60), then the case table through
# the CLI under valgrind. Installs clang, libFuzzer and valgrind when run as
# root (apt-get update first); otherwise says what is missing. Needs the
# linux preset built.
set -euo pipefail
cd "$(dirname "$0")/.."

. tests/ensure_packages.sh
ensure_packages hostile clang-14 libclang-rt-14-dev valgrind

tests/fuzz/fuzz.sh "${ZOINT_FUZZ_SECONDS:-60}"
echo "== valgrind: case table through the CLI"
tests/valgrind_cases.sh
