#!/usr/bin/env bash
# The real program under Xvfb: a key released through xdotool reaches Form1,
# and a close request ends the process
# at once with status 0. Everything is checked through the trace.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
display=":$(( 500 + RANDOM % 400 ))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display
unset SDL_VIDEODRIVER
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

fail() { echo "FAIL: $*"; echo "--- trace"; cat "$work/trace.jsonl" 2>/dev/null || true; exit 1; }

cd "$work"
export RADADED_TRACE=$work/trace.jsonl RADADED_NO_MESSAGE_BOX=1
"$program" 2>"$work/stderr" &
pid=$!
wid=""
for _ in $(seq 100); do
  wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1 || true)
  [[ -n "$wid" ]] && break
  sleep 0.05
done
[[ -n "$wid" ]] || fail "no window appeared"
geometry=$(xdotool getwindowgeometry "$wid")
grep -q "Geometry: 607x318" <<<"$geometry" || fail "window geometry: $geometry"
grep -q "Position: 208,225" <<<"$geometry" || fail "window not centred: $geometry"

xdotool windowfocus --sync "$wid" key space
for _ in $(seq 100); do grep -q '"kind":"keyup"' trace.jsonl && break; sleep 0.05; done
grep -q '"ev":"input","kind":"keyup"' trace.jsonl || fail "the key release did not reach Form1"

/usr/bin/python3 "$here/close_window.py" "$wid"
status=0
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "the close request did not end the process"
wait "$pid" || status=$?
[[ $status -eq 0 ]] || fail "exit status $status after a close request"
tail -1 trace.jsonl | grep -q '"ev":"end"' || fail "no end event last"
echo "1 passed, 0 failed"
