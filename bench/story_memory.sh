#!/usr/bin/env bash
# Prints the resident memory of the real program while it plays the whole
# demo story, under Xvfb with SDL's dummy audio driver: the reader turns a
# page every few seconds (each tune is rendered and plays), from the intro
# to the staff screen. Memory is read four times a second; the figures are
# the highest reading and the highest one held for a whole page, each the
# median of three runs.
#   bench/story_memory.sh [program] [seconds-per-page]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath -m "${1:-$root/build/release/bin/radaded2k}")
per_page=${2:-2}
source "$root/bench/common.sh"
trace=$(mktemp)
stop_all_on_exit "$trace"
start_xvfb

rss() { awk '/VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || true; }

run() {  # prints "peak-kB held-kB"
  local peak=0 held=0 low r wid
  first_page "$program" "$root/story" "$trace"
  wid=$(window_of "$pid")
  while kill -0 "$pid" 2>/dev/null; do
    low=""
    for _ in $(seq $((per_page * 4))); do
      r=$(rss "$pid")
      [[ -z "$r" ]] && break
      ((r > peak)) && peak=$r
      [[ -z "$low" || $r -lt $low ]] && low=$r
      sleep 0.25
    done
    [[ -n "$low" && $low -gt $held ]] && held=$low
    release_key "$wid" space
  done
  wait "$pid" 2>/dev/null || true
  pid=""
  echo "$peak $held"
}

median() { sort -n | sed -n 2p; }

results=$(for _ in 1 2 3; do run; done)
peak=$(awk '{print $1}' <<<"$results" | median)
held=$(awk '{print $2}' <<<"$results" | median)
printf 'the demo story, a page every %s s: %.1f MB resident at the highest, %.1f MB held through a page (medians of three)\n' \
  "$per_page" "$(awk -v r="$peak" 'BEGIN {print r / 1024}')" "$(awk -v r="$held" 'BEGIN {print r / 1024}')"
