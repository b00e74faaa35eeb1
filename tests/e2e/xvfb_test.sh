#!/usr/bin/env bash
# The real program under Xvfb: the window opens centred at its design size, a
# key released through xdotool reaches Form1, and a close request as a window
# manager sends it stops the music and ends the process at once with status 0.
# Checked through the trace.
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tools/xvfb.sh"
work=$(mktemp -d)
pid=""
xvfb_pid=""
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
unset SDL_VIDEODRIVER
start_xvfb

fail() {
  echo "FAIL: $*"
  echo "--- trace"; cat "$work/trace.jsonl" 2>/dev/null || true
  echo "--- stderr"; cat "$work/stderr" 2>/dev/null || true
  exit 1
}

cd "$work"
export RADADED_TRACE=$work/trace.jsonl RADADED_NO_MESSAGE_BOX=1
"$program" 2>"$work/stderr" &
pid=$!
wid=$(window_of "$pid")
[[ -n "$wid" ]] || fail "no window appeared"
geometry=$(xdotool getwindowgeometry "$wid")
grep -q "Geometry: 607x318" <<<"$geometry" || fail "window geometry: $geometry"
grep -q "Position: 208,225" <<<"$geometry" || fail "window not centred: $geometry"

release_key "$wid" space
for _ in $(seq 100); do grep -q '"kind":"keyup"' trace.jsonl && break; sleep 0.05; done
grep -q '"ev":"input","kind":"keyup"' trace.jsonl || fail "the key release did not reach Form1"

/usr/bin/python3 "$here/close_window.py" "$wid"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "the close request did not end the process"
status=0
wait "$pid" || status=$?
pid=""
[[ $status -eq 0 ]] || fail "exit status $status after a close request"
tail -1 trace.jsonl | grep -q '"ev":"end"' || fail "no end event last"
tail -2 trace.jsonl | head -1 | grep -q '"op":"StopMidi"' || fail "the music was not stopped before the end"
grep -q '"op":"PlayMidi","arg":"enka.mid"' trace.jsonl || fail "the story tune was not started"
echo "1 passed, 0 failed"
