#!/usr/bin/env bash
# Installs what is missing, builds, and plays the demo story.
# With no display, plays it under Xvfb: a key is released every 2 seconds and
# a screenshot of each page is saved under out/ as a numbered PNG.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRADADED_TESTS=OFF >/dev/null
cmake --build "$root/build/release" --target radaded2k radaded2k-picture-decoder
program="$root/build/release/bin/radaded2k"
story="$root/story"

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$program" "$story"
fi

echo "No display: playing the demo under Xvfb, releasing a key every 2 s; screenshots go to out/."
out="$root/out"
mkdir -p "$out"
rm -f "$out"/page-*.png
source "$root/tools/xvfb.sh"
stop_all_on_exit
start_xvfb
# No sound card on a server: the music still plays, in time, to nowhere.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
"$program" "$story" &
pid=$!
page=0
unchanged=0
# Ends when the program does; after 30 s without any change on the screen, or
# after ten minutes in all, the window is asked to close.
for _ in $(seq 300); do
  sleep 2
  kill -0 "$pid" 2>/dev/null || break
  page=$((page + 1))
  shot=$(printf '%s/page-%03d.png' "$out" "$page")
  import -window root "$shot" 2>/dev/null || true
  previous=$(printf '%s/page-%03d.png' "$out" $((page - 1)))
  if [[ -f "$previous" ]] && cmp -s "$shot" "$previous"; then unchanged=$((unchanged + 1)); else unchanged=0; fi
  [[ $unchanged -ge 15 ]] && break
  # The program's error report if there is one (it carries neither a pid nor an
  # old-style name, so only xwininfo finds it), else its newest window.
  wid=$(xwininfo -root -tree 2>/dev/null | awk '/"Radaded 2K": \(\)/ {print $1}' | tail -1)
  [[ -z "$wid" ]] && wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tail -1 || true)
  [[ -n "$wid" ]] && release_key "$((wid))" Return
done
kill -TERM "$pid" 2>/dev/null || true
status=0
wait "$pid" || status=$?
pid=""
echo "The program ended with status $status; $page screenshots in out/."
exit "$status"
