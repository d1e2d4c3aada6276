#!/usr/bin/env bash
# i386 stage: the library, the CLI and the unit tests built for 32-bit x86
# Linux with the floating-point flags of the 32-bit Windows DLL (the i386
# preset), and run under qemu-i386:
#   - the case table, the exact search against the enumeration and a brute
#     force (with its engine's limits and certified bound), and
#     the enumeration against the word-for-word search on seeded random
#     problems, the small shared instances, and hosts' floating-point
#     settings around a call (the tests chosen below);
#   - the shared instances with n <= 50 through the CLI, byte for byte.
# qemu raises no floating-point trap, so where the kernel runs i386 programs
# itself the floating-point tests run natively as well, where an unmasked
# exception really traps.
# Installs missing Debian packages when run as root (apt-get update first);
# otherwise says what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
stage_start=$SECONDS

# The one place that chooses what runs under emulation: a gtest filter over
# zoint_tests, and how many rounds of each random test it keeps (the first
# ones of each seeded sequence): all of the exact search's, half of the
# enumeration's against the word-for-word search.
emulated_tests='Cases/CaseTable.*:CaseTableContents.*:ExactSearch.*:ExactEngine.*:LargerProblems.*:CertifiedBound.*:Differential.*:Instances.*:HostFloatSettings.*'
emulated_rounds=500
float_tests='HostFloatSettings.*'
float_fault_tests='FailurePoints.OutOfMemoryGivesTheHostItsFloatSettingsBack'
max_instance_variables=50

. tests/ensure_packages.sh
ensure_packages i386 cmake make g++-multilib qemu-user-static googletest

qemu=$(command -v qemu-i386-static || command -v qemu-i386)
build=build/i386

echo "== i386: build"
# GoogleTest for -m32, from Debian's sources, built once.
gtest=$build/googletest
if [ ! -f "$gtest/install/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$gtest/build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-i386-linux.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$PWD/$gtest/install" \
    -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
  cmake --build "$gtest/build" -j2 >/dev/null
  cmake --install "$gtest/build" >/dev/null
fi
cmake --preset i386 >/dev/null
cmake --build --preset i386
readelf -h "$build/libzoint.so" | grep -q 'Machine:.*Intel 80386' || {
  echo "$build/libzoint.so is not an i386 library" >&2
  exit 1
}

echo "== i386: unit tests under $(basename "$qemu") ($emulated_tests; $emulated_rounds rounds)"
ZOINT_TEST_ROUNDS=$emulated_rounds "$qemu" "$build/tests/zoint_tests" --gtest_filter="$emulated_tests"
"$qemu" "$build/tests/zoint_fault_tests" --gtest_filter="$float_fault_tests"

if "$build/tools/zoint" --help >/dev/null 2>&1; then
  echo "== i386: floating-point tests run natively, where unmasked exceptions trap"
  "$build/tests/zoint_tests" --gtest_filter="$float_tests"
  "$build/tests/zoint_fault_tests" --gtest_filter="$float_fault_tests"
else
  echo "== i386: this kernel does not run i386 programs; the floating-point tests ran under emulation only"
fi

# The shared instances, when their folder sits beside the project.
instances=../shared/instances
if [ -d "$instances" ]; then
  echo "== i386: shared instances with n <= $max_instance_variables through the CLI under emulation"
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/zoint-i386.XXXXXX")
  trap 'rm -rf "$scratch"' EXIT
  ran=0
  failed=0
  for input in "$instances"/*/ZOIntIn.dat "$instances"/*/*/ZOIntIn.dat; do
    [ -f "$input" ] || continue
    folder=$(dirname "$input")
    # Only folders with the expected bytes (structure/ holds values only).
    [ -f "$folder/ZOIntOut.dat" ] && [ -f "$folder/stdout.txt" ] || continue
    n=$(head -1 "$input" | cut -d, -f1 | tr -dc 0-9)
    [ -n "$n" ] && [ "$n" -le "$max_instance_variables" ] || continue
    name=${folder#"$instances"/}
    work=$scratch/${name//\//_}
    mkdir -p "$work"
    # Writable: the library takes a read-only ZOIntIn.dat for a missing one.
    install -m 644 "$input" "$work/ZOIntIn.dat"
    if "$qemu" "$build/tools/zoint" "$work" >"$work/stdout.txt" 2>"$work/stderr.txt" &&
      cmp -s "$work/stdout.txt" "$folder/stdout.txt" && cmp -s "$work/ZOIntOut.dat" "$folder/ZOIntOut.dat" &&
      [ ! -s "$work/stderr.txt" ]; then
      echo "ok   $name"
    else
      echo "FAIL $name: the answer differs from $folder" >&2
      cat "$work/stderr.txt" >&2
      diff "$folder/ZOIntOut.dat" "$work/ZOIntOut.dat" >&2 || true
      failed=$((failed + 1))
    fi
    ran=$((ran + 1))
  done
  echo "i386: $ran shared instances, $failed failed"
  [ "$ran" -gt 0 ] && [ "$failed" = 0 ]
else
  echo "== i386: no $instances folder; the shared instances are skipped"
fi

echo "i386: passed ($((SECONDS - stage_start)) s)"
