#!/usr/bin/env bash
# Builds the release preset and times every shared instance, library against
# CBC, in the same run. Arguments go to the benchmark (--runs N, a folder).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset linux >/dev/null
cmake --build --preset linux --target zoint_instances_bench >/dev/null
exec build/linux/bench/zoint_instances_bench "$@"
