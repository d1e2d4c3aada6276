#!/usr/bin/env bash
# Prints how soon `zoint solve` stops on a hard model: with --time-limit 1
# (the target: done within 2 s, exit status 3), and after a SIGINT sent
# 1.5 s into the search (the target: within 0.1 s). The models: a generated
# 100-variable multidimensional knapsack (OPB), and ../shared/instances/hard/
# cb30_01.lp when it is there. Needs the linux preset built and python3.
set -euo pipefail
cd "$(dirname "$0")/.."

cli=build/linux/tools/zoint
[ -x "$cli" ] || { echo "missing $cli: build the linux preset first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work/knapsack.opb" <<'PYTHON'
import random, sys
rng = random.Random(5)
n, m = 100, 10
weights = [[rng.randint(1, 1000) for _ in range(n)] for _ in range(m)]
values = [sum(w[i] for w in weights) // m + rng.randint(-10, 10) for i in range(n)]
with open(sys.argv[1], "w") as f:
    f.write("* #variable= %d #constraint= %d\n" % (n, m))
    f.write("max: " + " ".join("+%d x%d" % (values[i], i + 1) for i in range(n)) + " ;\n")
    for w in weights:
        f.write(" ".join("+%d x%d" % (w[i], i + 1) for i in range(n)) + " <= %d ;\n" % (sum(w) // 2))
PYTHON
models=("$work/knapsack.opb")
[ -f ../shared/instances/hard/cb30_01/cb30_01.lp ] && models+=(../shared/instances/hard/cb30_01/cb30_01.lp)

now() { date +%s.%N; }
printf '%-14s %-26s %8s %6s  %s\n' model run seconds exit status
for model in "${models[@]}"; do
  name=$(basename "$model")
  start=$(now)
  rc=0
  "$cli" solve --quiet --time-limit 1 "$model" >"$work/out" || rc=$?
  printf '%-14s %-26s %8.3f %6s  %s\n' "$name" "--time-limit 1" "$(echo "$(now) - $start" | bc)" "$rc" \
    "$(head -1 "$work/out")"

  "$cli" solve --quiet "$model" >"$work/out" &
  pid=$!
  sleep 1.5
  sent=$(now)
  kill -INT "$pid"
  rc=0
  wait "$pid" || rc=$?
  printf '%-14s %-26s %8.3f %6s  %s\n' "$name" "SIGINT at 1.5 s: to exit" "$(echo "$(now) - $sent" | bc)" "$rc" \
    "$(head -1 "$work/out")"
done
