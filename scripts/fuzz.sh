#!/usr/bin/env bash
# Runs every libFuzzer target for a bounded time, one after another (not part
# of the test run), then prints what each run did.
# usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET_REGEX]   (default: 300, all)
# An input that breaks a property is written to fuzz/regressions/<target>/:
# commit it, and the ordinary test suite replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-300}"
filter="${2:-}"
scripts/install-deps.sh fuzz
cmake --preset fuzz -DMORVANE_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build --preset fuzz

status=0
printf '%-16s %11s %6s %7s %s\n' target executions new corpus result
for binary in build/fuzz/bin/fuzz_*; do
  target="${binary##*/fuzz_}"
  [[ -z "$filter" || "$target" =~ $filter ]] || continue
  log="build/fuzz/fuzz_$target.log"
  result=ok
  ctest --preset fuzz -R "^fuzz_${target}\$" --output-log "$log" >/dev/null || { result=FAILED; status=1; }
  executions="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | awk '{print $2}')"
  added="$(grep -o 'stat::new_units_added: *[0-9]*' "$log" | awk '{print $2}')"
  corpus="$(find "build/fuzz/fuzz/corpus/$target" -type f | wc -l)"
  grep -q 'skipped' "$log" && result=skipped
  [ "$result" = FAILED ] && result="FAILED: see $log and fuzz/regressions/$target/"
  printf '%-16s %11s %6s %7s %s\n' "$target" "${executions:--}" "${added:--}" "$corpus" "$result"
done
exit "$status"
