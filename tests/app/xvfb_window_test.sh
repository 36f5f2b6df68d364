#!/usr/bin/env bash
# The real program under a private Xvfb, driven from outside: its window's
# size and centred place, Esc ending it with status 0, and no display at all
# ending it with status 255 and one line on stderr.
# usage: xvfb_window_test.sh PATH/TO/morvane
set -uo pipefail
binary=$1
failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

pids=()
# The program first, then its X server; nothing outlives the test.
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null
    wait "${pids[i]}" 2>/dev/null
  done
}

# Polls a command for up to $1 tenths of a second.
wait_for() {
  local tries=$1
  shift
  for ((t = 0; t < tries; t++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

# Up when it answers; a server that lost the race for its number has ended.
display_up() { kill -0 "$2" 2>/dev/null && xdpyinfo -display "$1" >/dev/null 2>&1; }

start_xvfb() {
  for n in $(seq 100 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    local pid=$!
    if wait_for 100 display_up ":$n" "$pid"; then
      pids+=("$pid")
      export DISPLAY=":$n"
      return 0
    fi
    kill "$pid" 2>/dev/null  # try the next number
  done
  return 1
}

# The program's visible top-level window, once it is mapped.
find_window() {
  window=$(xdotool search --onlyvisible --name '^Morvane$' 2>/dev/null | head -n 1)
  [ -n "$window" ]
}

start_program() {
  "$binary" 2>"$workdir/stderr" &
  program=$!
  pids+=("$program")
  wait_for 150 find_window
}

# Waits up to 10 s for the program to end; its status goes to $status.
wait_exit() {
  wait_for 100 bash -c "! kill -0 $program 2>/dev/null"
  if kill -0 "$program" 2>/dev/null; then status=timeout; return 1; fi
  wait "$program"
  status=$?
}

workdir=$(mktemp -d)
trap 'cleanup; rm -rf "$workdir"' EXIT

# Without any display the program says why in one line and ends with -1.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$binary" 2>"$workdir/nodisplay"
status=$?
lines=$(wc -l <"$workdir/nodisplay")
if [ "$status" -eq 255 ] && [ "$lines" -eq 1 ] && grep -q '^morvane: ' "$workdir/nodisplay"; then
  pass "no display: status 255, one line: $(cat "$workdir/nodisplay")"
else
  fail "no display: status $status, $lines lines on stderr:"; cat "$workdir/nodisplay"
fi

start_xvfb || { fail "could not start Xvfb"; exit 1; }

if start_program; then
  geometry=$(xwininfo -id "$window")
  x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
  y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
  width=$(awk '/Width:/ {print $2}' <<<"$geometry")
  height=$(awk '/Height:/ {print $2}' <<<"$geometry")
  if [ "$x,$y,$width,$height" = "112,134,800,500" ]; then
    pass "window 800x500 at (112,134) on 1024x768"
  else
    fail "window at ($x,$y) size ${width}x$height, wanted (112,134) 800x500"
  fi
  if wait_for 50 bash -c "[ \"\$(xdotool getwindowfocus 2>/dev/null)\" = $window ]"; then
    pass "the window has the keyboard focus"
  else
    fail "the window did not get the keyboard focus"
  fi
  xdotool key Escape
  wait_exit
  if [ "$status" = 0 ]; then pass "Escape from another process: status 0"; else
    fail "Escape: status $status"; cat "$workdir/stderr"
  fi
else
  fail "the window did not appear"; cat "$workdir/stderr"
fi

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
