#!/usr/bin/env bash
# The working tree against an earlier revision, on the same instances in the
# same run: builds REV's command-line host from `git archive` beside this
# tree's (build/compare/REV), then times `zoint --stats DIR` of both on every
# instance folder, alternating the two so that a busy machine hurts both
# alike, and prints per instance both times (median of the runs), both node
# counts, the ratio and whether each answer is right (ZOIntOut.dat's bytes
# where the folder has one, else optimum.txt's value).
#
# usage: bench/compare_revisions.sh [--runs N] [--timeout SECONDS] REV DIR...
#   Each DIR is an instance folder or a folder of them. A run beyond the
#   timeout (default 120 s) counts as that many seconds and "timeout".
set -euo pipefail
cd "$(dirname "$0")/.."
runs=1
limit=120
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --timeout) limit=$2; shift 2 ;;
    *) break ;;
  esac
done
[ $# -ge 2 ] || { echo "usage: $0 [--runs N] [--timeout SECONDS] REV DIR..." >&2; exit 2; }
rev=$1
shift
commit=$(git rev-parse --short "$rev^{commit}")

old_tree=build/compare/$commit
if [ ! -x "$old_tree/build/tools/zoint" ]; then
  echo "== building $commit in $old_tree" >&2
  rm -rf "$old_tree"
  mkdir -p "$old_tree"
  git archive "$commit" | tar -x -C "$old_tree"
  cmake -S "$old_tree" -B "$old_tree/build" -DCMAKE_BUILD_TYPE=Release -DZOINT_BUILD_TESTS=OFF >/dev/null
  cmake --build "$old_tree/build" --target zoint_cli -j2 >/dev/null
fi
echo "== building the working tree" >&2
cmake --preset linux >/dev/null
cmake --build --preset linux --target zoint_cli -j2 >/dev/null
new_zoint=$PWD/build/linux/tools/zoint
old_zoint=$PWD/$old_tree/build/tools/zoint

folders=()
for dir in "$@"; do
  if [ -f "$dir/ZOIntIn.dat" ]; then
    folders+=("$dir")
  else
    for sub in "$dir"/*/; do [ -f "$sub/ZOIntIn.dat" ] && folders+=("${sub%/}"); done
  fi
done

scratch=$(mktemp -d /tmp/zoint-compare.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

# One run: prints "seconds nodes verdict" (verdict: ok, WRONG or timeout).
run_one() {
  local zoint=$1 folder=$2 work=$scratch/run
  rm -rf "$work" && mkdir -p "$work" && cp "$folder/ZOIntIn.dat" "$work/" && chmod u+w "$work/ZOIntIn.dat"
  local start end status=0
  start=$(date +%s.%N)
  (cd "$work" && timeout "$limit" "$zoint" --stats . >stdout.txt 2>stats.txt) || status=$?
  end=$(date +%s.%N)
  if [ "$status" = 124 ]; then
    echo "$limit - timeout"
    return
  fi
  local nodes verdict=WRONG
  nodes=$(sed -n 's/^nodes: //p' "$work/stats.txt" | head -n 1)
  if [ -f "$folder/ZOIntOut.dat" ]; then
    cmp -s <(tr -d '\r' <"$work/ZOIntOut.dat") <(tr -d '\r' <"$folder/ZOIntOut.dat") && verdict=ok
  elif [ -f "$folder/optimum.txt" ]; then
    [ "$(head -n 1 "$work/ZOIntOut.dat" | tr -d '\r')" = "$(tr -d ' \r\n' <"$folder/optimum.txt")" ] && verdict=ok
  else
    verdict=unchecked
  fi
  echo "$(echo "$end - $start" | bc -l) ${nodes:--} $verdict"
}

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

printf '%-24s %10s %10s %7s %12s %12s  %-9s %s\n' instance "$commit s" "tree s" ratio "$commit nodes" \
  "tree nodes" "$commit" tree
log_sum=0
count=0
for folder in "${folders[@]}"; do
  old_times=() new_times=()
  for ((r = 0; r < runs; r++)); do
    read -r t old_nodes old_verdict < <(run_one "$old_zoint" "$folder")
    old_times+=("$t")
    read -r t new_nodes new_verdict < <(run_one "$new_zoint" "$folder")
    new_times+=("$t")
  done
  old_s=$(printf '%s\n' "${old_times[@]}" | median)
  new_s=$(printf '%s\n' "${new_times[@]}" | median)
  ratio=$(echo "$old_s / $new_s" | bc -l)
  log_sum=$(echo "$log_sum + l($ratio)" | bc -l)
  count=$((count + 1))
  printf '%-24s %10.4f %10.4f %7.2f %12s %12s  %-9s %s\n' "$(basename "$folder")" "$old_s" "$new_s" "$ratio" \
    "$old_nodes" "$new_nodes" "$old_verdict" "$new_verdict"
done
[ "$count" -gt 0 ] && printf '\n%d instances; geometric mean of %s time over the tree'"'"'s: %.3f\n' "$count" \
  "$commit" "$(echo "e($log_sum / $count)" | bc -l)"
