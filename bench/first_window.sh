#!/usr/bin/env bash
# Prints the time from launch to the intro window mapped (the X server's
# MapNotify) for the program on the demo story, and for a bare SDL program
# that maps one black window of the same size the same way (bare_window.c),
# alternating the two in one run under Xvfb with no window manager: the
# median of each, and their ratio. SDL's dummy audio driver unless
# SDL_AUDIODRIVER says otherwise (the machine's own driver, with "").
#   bench/first_window.sh [program] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath -m "${1:-$root/build/release/bin/radaded2k}")
runs=${2:-9}
source "$root/bench/common.sh"
bare="$root/build/release/bin/bare_window"
if [[ ! -x "$bare" ]]; then
  cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRADADED_TESTS=OFF >/dev/null
  cmake --build "$root/build/release" --target bare_window >/dev/null
fi
stop_all_on_exit
start_xvfb
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER-dummy}
[[ -z "$SDL_AUDIODRIVER" ]] && unset SDL_AUDIODRIVER
cd "$root/story"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
program_ms=() bare_ms=()
for _ in $(seq "$runs"); do
  program_ms+=("$(/usr/bin/python3 "$root/bench/map_time.py" "$program")")
  bare_ms+=("$(/usr/bin/python3 "$root/bench/map_time.py" "$bare")")
done
p=$(printf '%s\n' "${program_ms[@]}" | median)
b=$(printf '%s\n' "${bare_ms[@]}" | median)
printf 'program:    %6.1f ms to MapNotify (median of %d: %s)\n' "$p" "$runs" "${program_ms[*]}"
printf 'bare SDL:   %6.1f ms to MapNotify (median of %d: %s)\n' "$b" "$runs" "${bare_ms[*]}"
awk -v p="$p" -v b="$b" 'BEGIN { printf "ratio:      %6.2f (program / bare SDL)\n", p / b }'
