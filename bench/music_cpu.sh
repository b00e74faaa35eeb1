#!/usr/bin/env bash
# Prints what the music costs the waiting program, under Xvfb with SDL's dummy
# audio driver (which consumes sound in real time, as a sound card does): the
# share of one core while the reader waits on a page of the demo story with
# its background tune looping (measured from the tune's second pass on), the
# same with the tunes and effect taken away, and resident memory; each the
# median of three runs. The script is one page that sets enka.mid as the
# background tune, so that the loop check restarts it whenever it ends.
# Options after the first two arguments go to the program (--watch).
#   bench/music_cpu.sh [program] [seconds] [option]...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath -m "${1:-$root/build/release/bin/radaded2k}")
seconds=${2:-20}
options=("${@:3}")
source "$root/bench/common.sh"
music=$(mktemp -d)
silent=$(mktemp -d)
stop_all_on_exit "$music" "$silent"
start_xvfb
export SDL_AUDIODRIVER=dummy
cp "$root"/story/* "$music"/
printf '#MIDI "enka.mid"\r\n#PICT    "office.bmp"\r\nThe reader waits on this page.\r\n#ENDI\r\n' >"$music/Rodevez2E.dat"
find "$music" -maxdepth 1 -type f ! -iname '*.mid' ! -iname '*.wav' -exec cp {} "$silent" \;

# enka.mid lasts about 22 s: from 35 s on it plays its second pass or a
# later one.
settle=35

run() {  # run STORY: prints "cpu-percent rss-kB"
  "$program" "${options[@]}" "$1" >/dev/null 2>&1 &
  pid=$!
  sleep "$settle"
  cpu_over "$pid" "$seconds"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=""
}

median() { sort -n | sed -n 2p; }

for label in "a tune looping" "no tune"; do
  story=$music
  [[ $label == "no tune" ]] && story=$silent
  results=$(for _ in 1 2 3; do run "$story"; done)
  cpu=$(awk '{print $1}' <<<"$results" | median)
  rss=$(awk '{print $2}' <<<"$results" | median)
  printf '%-16s %5.3f%% of one core (median of %s), %.1f MB resident\n' "$label:" "$cpu" \
    "$(awk '{print $1 "%"}' <<<"$results" | paste -sd ' ')" "$(awk -v r="$rss" 'BEGIN {print r / 1024}')"
done
