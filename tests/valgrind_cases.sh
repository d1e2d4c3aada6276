#!/usr/bin/env bash
# Runs the command-line host under valgrind's memcheck on every case of the
# table in tests/cases, as its own process: no invalid access, no leak, and
# the exact report, warning, ZOIntOut.dat and exit status the case expects. Needs the
# linux preset built (the CLI and tests/zoint_case_input).
set -euo pipefail
cd "$(dirname "$0")/.."

cli=build/linux/tools/zoint
case_input=build/linux/tests/zoint_case_input
for tool in "$cli" "$case_input"; do
  [ -x "$tool" ] || { echo "missing $tool: build the linux preset first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One case: prints nothing when it passes, else what went wrong.
run_case() {
  local dir=$1 name run rc
  name=$(basename "$dir")
  run="$work/$name"
  mkdir -p "$run/dir"
  rc=0
  "$case_input" "$dir" "$run/dir/ZOIntIn.dat" || rc=$?
  if [ "$rc" -gt 1 ]; then echo "$name: its input cannot be built"; return; fi
  rc=0
  # valgrind's own status is 99, apart from the CLI's: 1 when the call
  # showed a warning, else 0.
  valgrind -q --leak-check=full --errors-for-leak-kinds=definite,indirect,possible --error-exitcode=99 \
    --log-file="$run/valgrind.log" "$cli" "$run/dir" >"$run/stdout" 2>"$run/stderr" || rc=$?
  local expected=0
  [ -s "$dir/expected_message" ] && expected=1
  if [ "$rc" -ne "$expected" ]; then
    echo "$name: exit $rc, expected $expected"
    cat "$run/valgrind.log"
  fi
  cmp -s "$run/stdout" "$dir/expected_stdout" || echo "$name: console report differs"
  cmp -s "$run/stderr" "$dir/expected_message" || echo "$name: warning differs"
  cmp -s "$run/dir/ZOIntOut.dat" "$dir/expected_ZOIntOut.dat" || echo "$name: ZOIntOut.dat differs"
}

cases=()
for dir in tests/cases/*/; do
  [ -f "$dir/expected_stdout" ] && cases+=("${dir%/}")
done

# Two at a time: one per core.
failures="$work/failures"
: >"$failures"
for ((k = 0; k < ${#cases[@]}; k += 2)); do
  run_case "${cases[k]}" >>"$failures" &
  if [ $((k + 1)) -lt ${#cases[@]} ]; then run_case "${cases[k + 1]}" >>"$work/failures.2"; fi
  wait
done
[ -f "$work/failures.2" ] && cat "$work/failures.2" >>"$failures"

# The model readers and the mapping, through zoint solve: a good model in
# each format, and a refused one (the reading process included).
for model in examples/models/projects.opb examples/models/projects.lp examples/models/projects.mps; do
  expected=0
  for stage in good refused; do
    if [ $stage = refused ]; then
      head -c 200 "$model" >"$work/cut.${model##*.}"
      model=$work/cut.${model##*.}
      expected=1
    fi
    rc=0
    valgrind -q --leak-check=full --errors-for-leak-kinds=definite,indirect,possible --error-exitcode=99 \
      --log-file="$work/solve.log" "$cli" solve "$model" >/dev/null 2>&1 || rc=$?
    if [ "$rc" -ne "$expected" ]; then
      echo "solve $model: exit $rc, expected $expected" >>"$failures"
      cat "$work/solve.log" >>"$failures"
    fi
  done
done

if [ -s "$failures" ]; then
  cat "$failures"
  echo "valgrind: $(grep -c '^[a-z0-9_]*: ' "$failures" || true) problems over ${#cases[@]} cases" >&2
  exit 1
fi
echo "valgrind: ${#cases[@]} cases, no error, no leak, exact bytes; zoint solve on 3 models and 3 cut short"
