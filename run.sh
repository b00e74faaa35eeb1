#!/usr/bin/env bash
# Installs what is missing, builds, and plays the demo story.
# With no display, plays it under Xvfb: a key is released every 2 seconds and
# a screenshot of each page is saved under out/ as a numbered PNG.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRADADED_TESTS=OFF >/dev/null
cmake --build "$root/build/release" --target radaded2k
program="$root/build/release/app/radaded2k"
cd "$root/story"

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$program"
fi

echo "No display: playing the demo under Xvfb, releasing a key every 2 s; screenshots go to out/."
out="$root/out"
mkdir -p "$out"
rm -f "$out"/page-*.png
display=":$(( 90 + RANDOM % 400 ))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# No sound card on a server: the music still plays, in time, to nowhere.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
"$program" &
pid=$!
page=0
# At most ten minutes; then the window is asked to close.
for _ in $(seq 300); do
  sleep 2
  kill -0 "$pid" 2>/dev/null || break
  page=$((page + 1))
  import -window root "$(printf '%s/page-%03d.png' "$out" "$page")" 2>/dev/null || true
  wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tail -1 || true)
  if [[ -n "$wid" ]]; then
    xdotool windowfocus --sync "$wid" key Return 2>/dev/null || true
  fi
done
kill -TERM "$pid" 2>/dev/null || true
status=0
wait "$pid" || status=$?
echo "The program ended with status $status; $page screenshots in out/."
exit "$status"
