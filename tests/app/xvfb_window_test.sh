#!/usr/bin/env bash
# The real program under a private Xvfb, driven from outside: its window's
# size and centred place, Esc ending it with status 0, no display at all
# ending it with status 255 and one line on stderr; then the buttons clicked
# with xdotool, with xclip as the other program on the clipboard.
# usage: xvfb_window_test.sh PATH/TO/morvane PATH/TO/morvane-convert
set -uo pipefail
binary=$1
convert=$2
failures=0
# In sanitizer builds: libxkbcommon-x11 gives strndup a buffer that is not
# zero-terminated within its bound, which strict string checks report.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"
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

# Clicks the middle of a control given by its client-area place.
click() {
  xdotool mousemove --sync $((window_x + $1 + $3 / 2)) $((window_y + $2 + $4 / 2)) click 1
}
paste_button() { click 700 10 80 30; }
copy_button() { click 700 56 80 32; }
ascii_button() { click 10 100 110 32; }

clipboard_is() { xclip -selection clipboard -o >"$workdir/got" 2>/dev/null && cmp -s "$workdir/got" "$1"; }

# Puts a file's bytes on the clipboard, owned by xclip, and waits until it
# serves them.
offer() {
  xclip -selection clipboard -i <"$1" 2>/dev/null
  wait_for 100 clipboard_is "$1"
}

# A text from xclip, pasted, converted by "转ASCII" and copied back: the
# escapes xclip then reads show every code unit that reached the source box.
check_paste() {
  local name=$1 file=$2
  "$convert" ASCII "$file" >"$workdir/expected"
  if ! offer "$file"; then fail "paste $name: xclip did not take the clipboard"; return; fi
  paste_button
  ascii_button
  copy_button
  if wait_for 100 clipboard_is "$workdir/expected"; then
    pass "paste $name arrives unchanged"
  else
    fail "paste $name: xclip read back $(head -c 120 "$workdir/got")"
  fi
}

check_chain() {
  local caption=$1 top=$2 height=$3 expected=$4
  printf '中' >"$workdir/input"
  printf '%s' "$expected" >"$workdir/expected"
  if ! offer "$workdir/input"; then fail "chain $caption: xclip did not take the clipboard"; return; fi
  click 702 "$top" 65 "$height"
  if wait_for 100 clipboard_is "$workdir/expected"; then
    pass "chain $caption: xclip reads $expected"
  else
    fail "chain $caption: xclip read $(head -c 120 "$workdir/got"), wanted $expected"
  fi
}

if start_program; then
  eval "$(xdotool getwindowgeometry --shell "$window" | sed 's/^/window_/')"
  window_x=$window_X window_y=$window_Y

  printf '中文汉字' >"$workdir/chinese"
  printf 'a\xF0\x9F\x98\x80z' >"$workdir/emoji"
  printf 'one\r\ntwo\r\n' >"$workdir/crlf"
  printf '\xEF\xBB\xBFbom' >"$workdir/bom"
  for ((i = 0; i < 10000; i++)); do printf '中a\xF0\x9F\x98\x80'; done >"$workdir/long"  # 40 000 units
  check_paste "Chinese" "$workdir/chinese"
  check_paste "an emoji" "$workdir/emoji"
  check_paste "CR LF" "$workdir/crlf"
  check_paste "a leading U+FEFF" "$workdir/bom"
  check_paste "40 000 characters" "$workdir/long"
  # Over 1 MB, more than xclip sends at once: both sides pass it in pieces.
  for ((i = 0; i < 15; i++)); do cat "$workdir/long"; done >"$workdir/pieces"
  check_paste "1.2 MB in pieces" "$workdir/pieces"

  check_chain Unicode 337 35 '&#20013;'
  check_chain ASCII 382 32 '\u4e2d'
  check_chain UTF-8 422 32 '&#x4e2d;'

  # A leading U+FEFF made by "↑转回汉字↑" reaches xclip as its three bytes.
  printf '\\ufeffa' >"$workdir/escaped"
  printf '\xEF\xBB\xBFa' >"$workdir/expected"
  if offer "$workdir/escaped"; then
    paste_button
    click 10 180 110 32
    copy_button
    if wait_for 100 clipboard_is "$workdir/expected"; then
      pass "copy hands over a leading U+FEFF"
    else
      fail "copy of a leading U+FEFF: xclip read $(od -An -tx1 "$workdir/got" | head -c 60)"
    fi
  else
    fail "copy of a leading U+FEFF: xclip did not take the clipboard"
  fi

  xdotool key Escape
  wait_exit
  [ "$status" = 0 ] || { fail "Escape after the commands: status $status"; cat "$workdir/stderr"; }
else
  fail "the window did not appear for the commands"; cat "$workdir/stderr"
fi

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
