#!/usr/bin/env bash
# Builds the Debian package from the build, extracts it into a scratch folder
# (it is not installed on the machine), and plays the extracted story with
# the extracted program under Xvfb up to its first page (the intro skipped):
# the program must find its helper, its fonts and its SoundFont from there.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tools/xvfb.sh"
scratch=$(mktemp -d)
stop_all_on_exit "$scratch"
fail() { echo "FAIL: $*"; cat "$scratch/stderr" 2>/dev/null || true; exit 1; }

(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null) || fail "cpack"
deb=$(ls "$scratch"/out/radaded2k_*.deb)
dpkg-deb --field "$deb" Depends | grep -q timgm6mb-soundfont || fail "the package does not depend on a SoundFont"
dpkg-deb --field "$deb" Depends | grep -q libsdl2 || fail "no library dependencies computed"
dpkg-deb -x "$deb" "$scratch/root"
program=$(find "$scratch/root/usr/bin" "$scratch/root/usr/games" -maxdepth 1 -type f -name radaded2k 2>/dev/null | head -1 || true)
[[ -x "$program" ]] || fail "no program in the package"

unset SDL_VIDEODRIVER
start_xvfb
first_page "$program" "$scratch/root/usr/share/radaded2k/story" "$scratch/trace.jsonl" "$scratch/stderr" --from=1 ||
  fail "the extracted program showed no first page"
grep -q '"control":"Image1","prop":"Picture","value":"office.bmp"' "$scratch/trace.jsonl" || fail "no scene picture"
grep -qi 'no font found\|no General MIDI SoundFont\|no audio device' "$scratch/stderr" && fail "fonts or SoundFont missing"
echo "the extracted package plays its story: $(dpkg-deb --field "$deb" Package Version | paste -sd ' ')"
