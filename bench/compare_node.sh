#!/usr/bin/env bash
# Times morvane-convert against node running each procedure's source text on
# the same input, and prints the speed ratio and both peak memories.
# usage: bench/compare_node.sh [path/to/morvane-convert]
#   (default build/bench/bin/morvane-convert: cmake --preset bench && cmake --build --preset bench)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/bench/bin/morvane-convert}
[ -x "$cli" ] || { echo "compare_node: no $cli; build the bench preset first" >&2; exit 2; }
command -v node >/dev/null || { echo "compare_node: node is not on the PATH" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "compare_node: needs /usr/bin/time (scripts/install-deps.sh bench)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Best wall time in seconds (the least disturbed by other load) and peak RSS
# in MiB of a command, over 5 runs.
measure() {
  local times=() mems=() start end t m
  for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/time" "$@" >/dev/null 2>"$work/err" ||
      { cat "$work/err" >&2; return 1; }
    end=$(date +%s%N)
    read -r m <"$work/time"
    times+=("$(awk -v ns=$((end - start)) 'BEGIN { printf "%.4f", ns / 1e9 }')") mems+=("$m")
  done
  local t m
  t=$(printf '%s\n' "${times[@]}" | sort -g | head -1)
  m=$(printf '%s\n' "${mems[@]}" | sort -g | tail -1)
  echo "$t $((m / 1024))"
}

for units in 1048576 4194304; do
  node "$here/make_input.js" "$units" "$work/mixed-$units.txt"
  "$cli" ASCII "$work/mixed-$units.txt" >"$work/ASCII-$units.txt"
  "$cli" UTF8 "$work/mixed-$units.txt" >"$work/UTF8-$units.txt"
  if "$cli" --list | grep -qx encodeURL; then
    "$cli" encodeURL "$work/mixed-$units.txt" >"$work/encodeURL-$units.txt"
  fi
done

printf '%-10s %-10s %9s %9s %8s %9s %9s %7s %s\n' procedure input cli_s node_s speedup cli_MiB node_MiB mem 4M/1M
for procedure in $("$cli" --list); do
  "$cli" --source "$procedure" >"$work/$procedure.js"
  case $procedure in
    reconvert) inputs="ASCII UTF8" ;;
    decodeURL) inputs="encodeURL" ;;
    *) inputs="mixed" ;;
  esac
  for input in $inputs; do
    read -r small _ < <(measure "$cli" "$procedure" "$work/$input-1048576.txt")
    read -r cli_t cli_m < <(measure "$cli" "$procedure" "$work/$input-4194304.txt")
    read -r node_t node_m < <(measure node "$here/node_run_record.js" "$work/$procedure.js" \
      "$procedure" "$work/$input-4194304.txt" "$work/node-out.txt")
    awk -v p="$procedure" -v i="$input" -v ct="$cli_t" -v nt="$node_t" -v cm="$cli_m" \
      -v nm="$node_m" -v s="$small" 'BEGIN {
        printf "%-10s %-10s %9.4f %9.4f %7.1fx %9d %9d %6.2f %6.2f\n", p, i, ct, nt,
          nt / (ct > 0 ? ct : 0.001), cm, nm, cm / nm, ct / (s > 0 ? s : 0.001) }'
  done
done
echo "(4 M units of mixed CJK/ASCII text; best of 5 runs; mem = cli/node peak RSS; 4M/1M = cli time ratio)"
