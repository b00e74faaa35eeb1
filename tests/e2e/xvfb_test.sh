#!/usr/bin/env bash
# The real program under Xvfb, checked through its trace:
# - with a two-page script in a folder named on the command line, the intro
#   window opens centred; closing it hands over to the story at once; the main window opens centred
#   at its design size, a key released through xdotool turns the page, and so
#   does a click on the page-turn icon;
# - F11 covers the screen with the design at the largest whole factor that
#   fits, centred on black, where a click on the icon turns the page and one
#   on the black does not, and Alt+Enter puts the window back where it was;
#   neither toggle counts as a key release;
# - with RADADED_E2E_FULLSCREEN=1, --fullscreen starts with the intro covering
#   the screen.
# RADADED_E2E_SCALE is the factor the windows must show (the display is that
# many times 1280 x 1024, at that many times 96 dpi unless RADADED_E2E_DPI
# says otherwise: the factor may come from --scale in RADADED_E2E_ARGS or
# from RADADED_SCALE).
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tools/xvfb.sh"
work=$(mktemp -d)
stop_all_on_exit "$work"  # a window manager ends with its display
fail() {
  echo "FAIL: $*"
  echo "--- trace"; cat "$work/trace.jsonl" 2>/dev/null || true
  echo "--- stderr"; cat "$work/stderr" 2>/dev/null || true
  exit 1
}
soon() {  # soon COMMAND...: until it succeeds (5 s at most)
  for _ in $(seq 100); do "$@" && return 0; sleep 0.05; done
  return 1
}
wait_for() { soon grep -q "$1" "$work/trace.jsonl"; }  # wait_for PATTERN: until the trace holds it
placed() { xwininfo -id "$wid" | grep -E 'Absolute|Width|Height'; }
# With RADADED_E2E_SCALE=2 the display is 2560 x 2048 at 192 dpi, and the
# program must find the factor 2 by itself and show everything twice as big.
scale=${RADADED_E2E_SCALE:-1}
screen_w=$((1280 * scale)) screen_h=$((1024 * scale))
start_xvfb "${screen_w}x${screen_h}x24" -dpi "${RADADED_E2E_DPI:-$((96 * scale))}"
read -r -a args <<<"${RADADED_E2E_ARGS:-}"
# With a window manager named (RADADED_E2E_WM=openbox), windows are framed,
# focused and closed by it, as on a desktop.
wm=${RADADED_E2E_WM:-}
if [[ -n "$wm" ]]; then
  "$wm" >/dev/null 2>&1 &
  soon wmctrl -m >/dev/null 2>&1 || fail "no window manager"
fi
export RADADED_TRACE=$work/trace.jsonl RADADED_NO_MESSAGE_BOX=1

mkdir "$work/empty"
# A story of two pages, played from another folder, traced through --trace.
mkdir "$work/story"
printf 'page one\r\n#PAGE\r\npage two\r\n#PAGE\r\npage three\r\n#PAGE\r\npage four\r\n#ENDI\r\n' \
  >"$work/story/Rodevez2E.dat"
cd "$work/empty"
RADADED_TRACE= "$program" "${args[@]}" --trace "$work/trace.jsonl" "$work/story" 2>"$work/stderr" &
pid=$!
intro=$(window_of "$pid" "Vevazed Izi")
[[ -n "$intro" ]] || fail "no intro window appeared"
geometry=$(xdotool getwindowgeometry "$intro")
[[ $geometry == *"Position: $(((1280 - 326) / 2 * scale)),$(((1024 - 157) / 2 * scale)) "*"Geometry: $((326 * scale))x$((157 * scale))"* ]] ||
  fail "intro not centred at its size: $geometry"
/usr/bin/python3 "$here/close_window.py" "$intro"

wid=$(window_of "$pid" "Dizorir Oza Dozivuvo")
[[ -n "$wid" ]] || fail "no main window appeared"
geometry=$(xdotool getwindowgeometry "$wid")
grep -q "Geometry: $((607 * scale))x$((318 * scale))" <<<"$geometry" || fail "window geometry: $geometry"
# The outer frame stands centred on the screen.
extents=$(xprop -id "$wid" _NET_FRAME_EXTENTS 2>/dev/null | grep -o '= .*' | tr -d '=,' || true)
read -r left right top bottom <<<"${extents:-0 0 0 0}"
x=$(xwininfo -id "$wid" | awk '/Absolute upper-left X/ {print $4}')
y=$(xwininfo -id "$wid" | awk '/Absolute upper-left Y/ {print $4}')
[[ $((x - left)) -eq $(((screen_w - 607 * scale - left - right) / 2)) &&
   $((y - top)) -eq $(((screen_h - 318 * scale - top - bottom) / 2)) ]] ||
  fail "window frame not centred: client at $x,$y, frame $left $right $top $bottom"
[[ -z "$wm" || $top -gt 0 ]] || fail "the window manager framed no window"
wait_for '"value":"page one' || fail "the first page was not shown"

release_key "$wid" space
wait_for '"ev":"input","kind":"keyup"' || { release_key "$wid" space; wait_for '"kind":"keyup"'; } ||
  fail "the key release did not reach Form1"
wait_for '"value":"page two' || fail "the key release did not turn the page"

# A click on the page-turn icon (32 x 32 at 272, 280 in the design) turns it.
timeout 5 xdotool mousemove --window "$wid" $((288 * scale)) $((296 * scale)) click 1 2>/dev/null || true
wait_for '"value":"page three' || fail "the click on the page-turn icon did not turn the page"

# Full screen, and back.
windowed=$(placed)
factor=$(( screen_w / 607 < screen_h / 318 ? screen_w / 607 : screen_h / 318 ))
left=$(((screen_w - 607 * factor) / 2)) top=$(((screen_h - 318 * factor) / 2))
release_key "$wid" F11
covers() { xwininfo -id "$wid" | grep -q "Width: $screen_w" && xwininfo -id "$wid" | grep -q "Height: $screen_h"; }
soon covers || fail "F11 did not cover the screen: $(placed)"
sleep 0.3
import -window root "$work/full.png"
# The design is what is not black: its box is the design's size times the factor, centred.
box=$(/usr/bin/python3 -c 'import sys; from PIL import Image
print(*Image.open(sys.argv[1]).convert("L").point(lambda v: 255 if v else 0).getbbox())' "$work/full.png")
[[ $box == "$left $top $((left + 607 * factor)) $((top + 318 * factor))" ]] ||
  fail "design at $box in full screen, not at factor $factor from $left,$top"
timeout 5 xdotool mousemove --window "$wid" 2 2 click 1 2>/dev/null || true
timeout 5 xdotool mousemove --window "$wid" $((left + 288 * factor)) $((top + 296 * factor)) click 1 2>/dev/null || true
wait_for '"value":"page four' || fail "the click on the icon did not turn the page in full screen"
[[ $(grep -c '"kind":"click"' "$work/trace.jsonl") -eq 2 ]] || fail "a click on the black reached the form"
release_key "$wid" alt+Return
back() { [[ $(placed) == "$windowed" ]]; }
soon back || fail "Alt+Enter did not put the window back: $(placed)"
[[ $(grep -c '"kind":"keyup"' "$work/trace.jsonl") -eq 1 ]] || fail "a full-screen toggle was taken for a key release"

# (A close request ends it: the lifecycle test, in every state of the sound.)
if [[ -n "${RADADED_E2E_FULLSCREEN:-}" ]]; then
  kill -9 "$pid"
  "$program" "${args[@]}" --fullscreen "$work/story" 2>"$work/stderr" &
  pid=$!
  intro=$(window_of "$pid" "Vevazed Izi")
  [[ -n "$intro" ]] || fail "no intro window appeared with --fullscreen"
  wid=$intro
  soon covers || fail "--fullscreen: $(xwininfo -id "$intro" | grep -E 'Width|Height')"
fi
echo "1 passed, 0 failed"
