#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset) and runs each for a bounded
# time over its seed corpus:
#  - zoint_fuzz: whole calls of ZOInterProgram on arbitrary ZOIntIn.dat bytes;
#  - zoint_fuzz_models: the OPB reader and the mapping to a problem;
#  - zoint_fuzz_api: zoint_solve's argument checks and answers.
# Any finding fails the stage; the input that caused it is kept in
# build/fuzz/artifacts/ (its name starts with the target's).
#
#   tests/fuzz/fuzz.sh [SECONDS]          zoint_fuzz for SECONDS (default 60),
#                                         the other two for a third of it each
#   tests/fuzz/fuzz.sh --runs N           stop each after N executions instead
#   tests/fuzz/fuzz.sh --target NAME ...  run that target alone
#
# Extra libFuzzer flags may follow, e.g. -jobs=2.
set -euo pipefail
cd "$(dirname "$0")/../.."

targets=(zoint_fuzz zoint_fuzz_models zoint_fuzz_api)
if [ "${1:-}" = --target ]; then
  targets=("$2")
  shift 2
fi
seconds=60
runs=
if [ "${1:-}" = --runs ]; then
  runs=$2
  shift 2
elif [ -n "${1:-}" ] && [ "${1#-}" = "$1" ]; then
  seconds=$1
  shift
fi

echo "== fuzz: build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/artifacts
# Scratch files on a memory file system when there is one: far more runs per
# second than a journalling disk that syncs every truncated file.
scratch=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch=/dev/shm; fi
# A small quarantine keeps freed memory reused: use-after-free within one run
# is still caught, and the run is not slowed by fresh pages.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

for target in "${targets[@]}"; do
  case $target in
    zoint_fuzz) seeds=tests/fuzz/corpus dict=tests/fuzz/zoint.dict share=1 ;;
    zoint_fuzz_models) seeds=tests/fuzz/corpus_models dict=tests/fuzz/models.dict share=3 ;;
    zoint_fuzz_api) seeds=tests/fuzz/corpus_api dict= share=3 ;;
    *) echo "unknown target $target" >&2 && exit 2 ;;
  esac
  if [ -n "$runs" ]; then
    limit=(-runs="$runs")
  else
    limit=(-max_total_time=$((seconds / share > 5 ? seconds / share : 5)))
  fi
  # New inputs go to a work corpus in the build tree; the seeds stay as they are.
  work=build/fuzz/corpus
  [ "$target" = zoint_fuzz ] || work=build/fuzz/corpus-$target
  mkdir -p "$work"
  echo "== fuzz: $target (${limit[*]})"
  TMPDIR=$scratch "build/fuzz/tests/fuzz/$target" "${limit[@]}" \
    -max_len=12288 -timeout=10 -print_final_stats=1 \
    ${dict:+-dict=$dict} -artifact_prefix="build/fuzz/artifacts/$target-" \
    "$@" "$work" "$seeds"
done
