#!/usr/bin/env bash
# Prints what the music costs the waiting program, under Xvfb with SDL's dummy
# audio driver (which consumes sound in real time, as a sound card does): the
# share of one core while the reader waits on a page of the demo story with
# its background tune looping (measured from the tune's second pass on), the
# same with the tunes and effect taken away, and resident memory; each the
# median of three runs. The script is one page that sets enka.mid as the
# background tune, so that the loop check restarts it whenever it ends.
#   bench/music_cpu.sh [program] [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/release/bin/radaded2k}
seconds=${2:-20}
if [[ ! -x "$program" ]]; then
  cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRADADED_TESTS=OFF >/dev/null
  cmake --build "$root/build/release" --target radaded2k radaded2k-picture-decoder >/dev/null
fi
source "$root/tools/xvfb.sh"
pid=""
xvfb_pid=""
music=$(mktemp -d)
silent=$(mktemp -d)
trap '[[ -n "$pid" ]] && kill "$pid" 2>/dev/null; [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$music" "$silent"; true' EXIT
start_xvfb
export SDL_AUDIODRIVER=dummy
cp "$root"/story/* "$music"/
printf '#MIDI "enka.mid"\r\n#PICT    "office.bmp"\r\nThe reader waits on this page.\r\n#ENDI\r\n' >"$music/Rodevez2E.dat"
find "$music" -maxdepth 1 -type f ! -iname '*.mid' ! -iname '*.wav' -exec cp {} "$silent" \;

# The first page's tune, enka.mid, lasts about 22 s: from 35 s on it plays
# its second pass or a later one.
settle=35

run() {  # run STORY: prints "cpu-percent rss-kB"
  "$program" "$1" >/dev/null 2>&1 &
  pid=$!
  sleep "$settle"
  local ticks before after rss
  ticks=$(getconf CLK_TCK)
  before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep "$seconds"
  after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=""
  awk -v a="$after" -v b="$before" -v t="$ticks" -v s="$seconds" -v r="$rss" 'BEGIN { printf "%.2f %d\n", 100 * (a - b) / t / s, r }'
}

median() { sort -n | sed -n 2p; }

for label in "a tune looping" "no tune"; do
  story=$music
  [[ $label == "no tune" ]] && story=$silent
  results=$(for _ in 1 2 3; do run "$story"; done)
  cpu=$(awk '{print $1}' <<<"$results" | median)
  rss=$(awk '{print $2}' <<<"$results" | median)
  printf '%-16s %5.2f%% of one core (median of %s), %.1f MB resident\n' "$label:" "$cpu" \
    "$(awk '{print $1 "%"}' <<<"$results" | paste -sd ' ')" "$(awk -v r="$rss" 'BEGIN {print r / 1024}')"
done
