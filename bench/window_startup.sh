#!/usr/bin/env bash
# Time from starting the program to its window being shown, under a private
# Xvfb (1024x768): the median of RUNS starts, polled every few milliseconds.
# usage: bench/window_startup.sh [BINARY [RUNS]]   (default build/bench/bin/morvane, 9)
set -euo pipefail
binary=${1:-build/bench/bin/morvane}
runs=${2:-9}
[ -x "$binary" ] || { echo "window_startup: no program at $binary" >&2; exit 1; }

display=
for n in $(seq 140 199); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "window_startup: no free display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

times=()
for ((run = 0; run < runs; run++)); do
  start=$(date +%s%N)
  "$binary" 2>/dev/null &
  program=$!
  until xdotool search --onlyvisible --name '^Morvane$' >/dev/null 2>&1; do
    sleep 0.002
    [ $(( ($(date +%s%N) - start) / 1000000 )) -lt 10000 ] || { echo "window_startup: no window" >&2; exit 1; }
  done
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
  xdotool key Escape
  wait "$program"
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start to window shown, ms: ${times[*]}"
echo "median: ${sorted[$((runs / 2))]} ms"
