#!/usr/bin/env bash
# Prints, under Xvfb, how long the first window takes to appear and how much
# of one core the program uses while it waits for the reader (past the
# intro): once with the story's music silent (the wait itself) and once with a
# tune playing (the wait plus the synthesiser), and its resident memory.
#   bench/idle_cpu.sh [program] [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath -m "${1:-$root/build/release/bin/radaded2k}")
seconds=${2:-10}
source "$root/bench/common.sh"
silent=$(mktemp -d)
stop_all_on_exit "$silent"
start_xvfb
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# The same story without its tunes and effect.
find "$root/story" -maxdepth 1 -type f ! -iname '*.mid' ! -iname '*.wav' -exec cp {} "$silent" \;

measure() {  # measure DIR LABEL
  cd "$1"
  local start first=""
  start=$(date +%s%N)
  "$program" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 2000); do
    if xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; then first=$(( ($(date +%s%N) - start) / 1000000 )); break; fi
    sleep 0.005
  done
  sleep 7  # past the intro (5.25 s): the program now waits for the reader
  local cpu rss
  read -r cpu rss < <(cpu_over "$pid" "$seconds")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=""
  printf '%-26s %5.3f%% of one core over %d s; first window after %s ms; %d MB resident\n' "$2:" "$cpu" "$seconds" \
    "${first:-?}" "$((rss / 1024))"
}

measure "$silent" "waiting, music silent"
measure "$root/story" "waiting, a tune playing"
echo "(first-window times include xdotool's polling)"
