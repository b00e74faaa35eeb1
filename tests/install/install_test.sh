#!/usr/bin/env bash
# Installs the build into a scratch folder (DESTDIR and a prefix of its own),
# validates the menu entry and the AppStream metadata as desktops read them,
# checks the installed demo story with the installed program, which must find
# its picture helper where it was installed, and plays it to its first page.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tools/xvfb.sh"
scratch=$(mktemp -d)
stop_all_on_exit "$scratch"
prefix=/opt/radaded2k-test
DESTDIR=$scratch cmake --install "$build" --prefix "$prefix" >/dev/null
root=$scratch$prefix
fail() { echo "FAIL: $*"; exit 1; }

desktop=$root/share/applications/org.radaded2k.Radaded2K.desktop
[[ -f $desktop ]] || fail "no desktop entry"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx "Exec=radaded2k $prefix/share/radaded2k/story" "$desktop" || fail "the entry does not play the installed story"
appstreamcli validate --no-net "$root/share/metainfo/org.radaded2k.Radaded2K.metainfo.xml" || fail "appstreamcli validate"
for size in 32 48 64 128 256; do
  icon=$root/share/icons/hicolor/${size}x${size}/apps/radaded2k.png
  [[ -f $icon ]] || fail "no ${size}px icon"
  file "$icon" | grep -q "$size x $size" || fail "the ${size}px icon is $(file -b "$icon")"
done
[[ -f $root/share/man/man6/radaded2k.6.gz ]] || fail "no manual page"
man -l "$root/share/man/man6/radaded2k.6.gz" >/dev/null 2>&1 || fail "the manual page does not format"
[[ -x $root/libexec/radaded2k/radaded2k-picture-decoder ]] || fail "no picture helper"

summary=$(cd / && ASAN_OPTIONS=detect_leaks=0 "$root/bin/radaded2k" --check "$root/share/radaded2k/story")
[[ $summary == "Rodevez2E.dat: "*" pages, 0 errors, 0 warnings" ]] || fail "--check on the installed story: $summary"

unset SDL_VIDEODRIVER
start_xvfb
first_page "$root/bin/radaded2k" "$root/share/radaded2k/story" "$scratch/trace.jsonl" /dev/null --from=1 ||
  fail "the installed program showed no first page"
grep -q '"control":"Image1","prop":"Picture","value":"office.bmp"' "$scratch/trace.jsonl" || fail "no scene picture"
echo "installed, validated, checks clean ($summary) and plays"
