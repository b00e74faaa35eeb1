#!/usr/bin/env bash
# install_test.sh install BUILD_DIR: installs the build into a scratch folder
# (DESTDIR and a prefix of its own), validates the menu entry and the
# AppStream metadata as desktops read them, and checks the installed demo
# story with the installed program, which must find its picture helper where
# it was installed.
# install_test.sh package BUILD_DIR: builds the Debian package and extracts it
# into a scratch folder (it is not installed on the machine); the program
# must find its helper, its fonts and its SoundFont from there.
# Either way the program then plays its story under Xvfb up to its first
# page (the intro skipped).
set -euo pipefail
build=$2
source "$(dirname "$0")/../../tools/xvfb.sh"
scratch=$(mktemp -d)
stop_all_on_exit "$scratch"
fail() { echo "FAIL: $*"; cat "$scratch/stderr" 2>/dev/null || true; exit 1; }

if [[ $1 == package ]]; then
  (cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null) || fail "cpack"
  deb=$(ls "$scratch"/out/radaded2k_*.deb)
  dpkg-deb --field "$deb" Depends | grep -q timgm6mb-soundfont || fail "the package does not depend on a SoundFont"
  dpkg-deb --field "$deb" Depends | grep -q libsdl2 || fail "no library dependencies computed"
  dpkg-deb -x "$deb" "$scratch/root"
  program=$(find "$scratch/root/usr/bin" "$scratch/root/usr/games" -maxdepth 1 -type f -name radaded2k 2>/dev/null | head -1 || true)
  story=$scratch/root/usr/share/radaded2k/story
  done="the extracted package plays its story: $(dpkg-deb --field "$deb" Package Version | paste -sd ' ')"
else
  prefix=/opt/radaded2k-test
  DESTDIR=$scratch cmake --install "$build" --prefix "$prefix" >/dev/null
  root=$scratch$prefix program=$scratch$prefix/bin/radaded2k story=$scratch$prefix/share/radaded2k/story
  desktop=$root/share/applications/org.radaded2k.Radaded2K.desktop
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
  grep -qx "Exec=radaded2k $prefix/share/radaded2k/story" "$desktop" || fail "the entry does not play the installed story"
  appstreamcli validate --no-net "$root/share/metainfo/org.radaded2k.Radaded2K.metainfo.xml" || fail "appstreamcli validate"
  for size in 32 48 64 128 256; do
    file "$root/share/icons/hicolor/${size}x${size}/apps/radaded2k.png" | grep -q "PNG image data, $size x $size" ||
      fail "no ${size}px icon"
  done
  man -l "$root/share/man/man6/radaded2k.6.gz" >/dev/null 2>&1 || fail "no manual page that formats"
  summary=$(cd / && ASAN_OPTIONS=detect_leaks=0 "$program" --check "$story")  # an error without the helper
  [[ $summary == "Rodevez2E.dat: "*" pages, 0 errors, 0 warnings" ]] || fail "--check on the installed story: $summary"
  done="installed, validated, checks clean ($summary) and plays"
fi
[[ -x "$program" ]] || fail "no program in $1"
unset SDL_VIDEODRIVER
start_xvfb
first_page "$program" "$story" "$scratch/trace.jsonl" "$scratch/stderr" --from=1 || fail "the program showed no first page"
grep -q '"control":"Image1","prop":"Picture","value":"office.bmp"' "$scratch/trace.jsonl" || fail "no scene picture"
grep -qi 'no font found\|no General MIDI SoundFont\|no audio device' "$scratch/stderr" && fail "fonts or SoundFont missing"
echo "$done"
