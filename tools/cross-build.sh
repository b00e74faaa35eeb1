#!/usr/bin/env bash
# Builds for another architecture with Debian's cross compiler, runs the unit
# tests under qemu-user, and makes the Debian package for that architecture:
#   tools/cross-build.sh ARCH [CTEST_OPTION...]     (ARCH: arm64 or s390x)
# Installs what is missing (the cross compiler, qemu-user-static, and the
# machine's own build tools, fonts and SoundFont, which the emulated tests
# use); the target's libraries go to a sysroot, build/sysroot-ARCH unless
# RADADED_SYSROOT names another folder. Builds in build/cross-ARCH; the
# package is left there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-}
case "$arch" in
  arm64) triple=aarch64-linux-gnu ;;
  s390x) triple=s390x-linux-gnu ;;
  *)
    echo "usage: $0 arm64|s390x [CTEST_OPTION...]" >&2
    exit 2
    ;;
esac
shift

"$root/tools/install-deps.sh"
missing=()
for p in "g++-$triple" qemu-user-static; do
  [[ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" == "install ok installed" ]] || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing missing packages: ${missing[*]}"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

sysroot=${RADADED_SYSROOT:-$root/build/sysroot-$arch}
"$root/tools/cross-sysroot.sh" "$arch" "$sysroot"

build="$root/build/cross-$arch"
start=$(date +%s)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/debian-cross.cmake" \
  -DRADADED_CROSS_ARCH="$arch" -DRADADED_SYSROOT="$sysroot" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_INSTALL_BINDIR=games >/dev/null
cmake --build "$build" -j2
built=$(date +%s)
status=0
ctest --test-dir "$build" --output-on-failure -j2 "$@" || status=$?
tested=$(date +%s)

# The package, built from the same build, for the target architecture.
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/radaded2k_*_"$arch".deb)
dpkg-deb --info "$deb"
[[ "$(dpkg-deb --field "$deb" Architecture)" == "$arch" ]] || { echo "FAIL: $deb is not for $arch" >&2; status=1; }
dpkg-deb --field "$deb" Depends | grep -q "libsdl2-2.0-0" || { echo "FAIL: $deb names no libraries" >&2; status=1; }
echo "$arch: built in $((built - start)) s, tested in $((tested - built)) s; package $deb"
exit "$status"
