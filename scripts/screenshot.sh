#!/usr/bin/env bash
# Takes a picture of the window under a private Xvfb (1024x768) with sample
# text converted by the "Unicode" chain, cropped to the window.
# usage: scripts/screenshot.sh [BINARY [OUTPUT]]
#   defaults: build/release/bin/morvane, docs/screenshot.png
# Needs xvfb, xdotool, xclip, fonts-wqy-microhei (scripts/install-deps.sh test)
# and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/release/bin/morvane}
output=${2:-docs/screenshot.png}
for tool in Xvfb xdotool xclip import; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing" >&2; exit 1; }
done
[ -x "$binary" ] || { echo "screenshot: no program at $binary; build it first" >&2; exit 1; }

display=
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "screenshot: no free display number" >&2; exit 1; }

pids=()
# The program first, then its X server.
cleanup() { for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; wait "${pids[i]}" 2>/dev/null || true; done; }
trap cleanup EXIT

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

"$binary" &
pids+=($!)
window=
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name '^Morvane$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "screenshot: the window did not appear" >&2; exit 1; }

# The "Unicode" chain button: paste, convert, copy.
printf '中文 Morvane' | xclip -selection clipboard -i 2>/dev/null
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 734)) $((Y + 354)) click 1 mousemove $((X + 400)) $((Y + 480))
sleep 0.5
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
echo "screenshot: $output"
