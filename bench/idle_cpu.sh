#!/usr/bin/env bash
# Prints how much of one core the program uses while it waits for the reader,
# and how long its first window takes to appear, measured under Xvfb.
#   bench/idle_cpu.sh [program] [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/release/app/radaded2k}
seconds=${2:-10}
if [[ ! -x "$program" ]]; then
  cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRADADED_TESTS=OFF >/dev/null
  cmake --build "$root/build/release" --target radaded2k >/dev/null
fi
source "$root/tools/xvfb.sh"
pid=""
xvfb_pid=""
trap '[[ -n "$pid" ]] && kill "$pid" 2>/dev/null; [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null; true' EXIT
start_xvfb
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

cd "${BENCH_STORY_DIR:-$root/story}"
start=$(date +%s%N)
"$program" >/dev/null 2>&1 &
pid=$!
first=""
for _ in $(seq 2000); do
  if xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; then first=$(( ($(date +%s%N) - start) / 1000000 )); break; fi
  sleep 0.005
done
echo "first window after: ${first:-?} ms (includes the polling of xdotool)"

sleep 7  # past the intro (5.25 s): the program now waits for the reader
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(cpu)
sleep "$seconds"
after=$(cpu)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
awk -v a="$after" -v b="$before" -v t="$ticks" -v s="$seconds" \
  'BEGIN { printf "waiting for input: %.2f%% of one core over %d s\n", 100 * (a - b) / t / s, s }'
echo "resident memory: $(( rss / 1024 )) MB"
