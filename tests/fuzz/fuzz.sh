#!/usr/bin/env bash
# Builds the libFuzzer target (the fuzz preset) and runs it for a bounded
# time over the seed corpus. Any finding fails the stage; the input that
# caused it is kept in build/fuzz/artifacts/.
#
#   tests/fuzz/fuzz.sh [SECONDS]          default 60
#   tests/fuzz/fuzz.sh --runs N           stop after N executions instead
#
# Extra libFuzzer flags may follow, e.g. -jobs=2.
set -euo pipefail
cd "$(dirname "$0")/../.."

limit=(-max_total_time=60)
if [ "${1:-}" = --runs ]; then
  limit=(-runs="$2")
  shift 2
elif [ -n "${1:-}" ] && [ "${1#-}" = "$1" ]; then
  limit=(-max_total_time="$1")
  shift
fi

echo "== fuzz: build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# New inputs go to a work corpus in the build tree; the seeds stay as they are.
mkdir -p build/fuzz/corpus build/fuzz/artifacts
# Scratch files on a memory file system when there is one: far more runs per
# second than a journalling disk that syncs every truncated file.
scratch=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch=/dev/shm; fi
# A small quarantine keeps freed memory reused: use-after-free within one run
# is still caught, and the run is not slowed by fresh pages.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

echo "== fuzz: run (${limit[*]})"
TMPDIR=$scratch build/fuzz/tests/fuzz/zoint_fuzz "${limit[@]}" \
  -max_len=12288 -timeout=10 -print_final_stats=1 \
  -dict=tests/fuzz/zoint.dict -artifact_prefix=build/fuzz/artifacts/ \
  "$@" build/fuzz/corpus tests/fuzz/corpus
