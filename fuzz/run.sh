#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60), seeded
# with the demo's own files and the regression inputs. Corpora grow under
# build/fuzz/corpus/; anything found lands in build/fuzz/found/ and makes the
# script exit non-zero. Usage: fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
"$root/tools/install-deps.sh"
if ! command -v clang++ >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q 'ok installed'; then
  sudo=""; [[ $(id -u) -ne 0 ]] && sudo=sudo
  $sudo apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
fi
build="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRADADED_SANITIZE=ON -DRADADED_FUZZ=ON -DRADADED_TESTS=OFF >/dev/null
cmake --build "$build" >/dev/null

targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=(cp932_lines script_line script_player picture_loader picture_decoder midi wav file_names)
declare -A seeds=(
  [cp932_lines]="story/Rodevez2E.dat tests/regressions/script"
  [script_line]="tests/regressions/script"
  [script_player]="story/Rodevez2E.dat tests/regressions/script"
  [picture_loader]="story/*.bmp demo/assets tests/regressions/picture"
  [picture_decoder]="story/*.bmp demo/assets tests/regressions/picture"
  [midi]="story/*.mid tests/regressions/midi"
  [wav]="story/vmdemo3.WAV tests/regressions/wav"
  [file_names]=""
)
status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t" found="$build/found/$t"
  mkdir -p "$corpus" "$found"
  for s in ${seeds[$t]}; do
    # shellcheck disable=SC2086
    find $root/$s -maxdepth 1 -type f -exec cp -n {} "$corpus/" \; 2>/dev/null || true
  done
  log="$build/$t.log"
  if (cd "$build" && ASAN_OPTIONS=detect_leaks=0 "$build/bin/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 \
        -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$found/" "$corpus" >"$log" 2>&1); then
    result=ok
  else
    result="FOUND (see $found, $log)"
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  printf '%-16s %10s runs  %s\n' "$t" "$runs" "$result"
done
exit $status
