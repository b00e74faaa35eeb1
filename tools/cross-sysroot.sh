#!/usr/bin/env bash
# Makes a folder that holds Debian's libraries and headers for another
# architecture, for cross-building and for running the result under qemu-user:
#   tools/cross-sysroot.sh ARCH DIR      (ARCH: a Debian architecture, e.g. arm64)
# apt resolves the packages' dependencies as for an empty machine of that
# architecture (its own lists and cache, under DIR.apt; the machine's own
# package database is not touched), and every package is unpacked into DIR
# with dpkg-deb. DIR/var/lib/dpkg gets a package database of what was unpacked
# (status, file lists, symbols and shlibs files), so that dpkg-shlibdeps can
# name the packages a cross-built program needs. Does nothing when DIR was made
# from the same package list before.
set -euo pipefail
arch=$1
sysroot=$2
packages=(
  libc6-dev libstdc++6 libgcc-s1
  libsdl2-dev libsdl2-ttf-dev libsdl2-image-dev libsdl2-mixer-dev
  libfluidsynth-dev libfontconfig-dev libunibreak-dev libpng-dev libgif-dev libjpeg-dev libsndfile1-dev libspeechd-dev
  libgtest-dev libgmock-dev
)

stamp="$sysroot/.radaded-packages"
if [[ -f "$stamp" && "$(cat "$stamp")" == "${packages[*]}" ]]; then exit 0; fi

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
apt_dir="$sysroot.apt"
rm -rf "$sysroot" "$apt_dir"
mkdir -p "$apt_dir"/state/lists/partial "$apt_dir"/cache/archives/partial "$sysroot"
touch "$apt_dir/status"
# The machine's sources and settings (mirror, proxy), another architecture,
# and state of its own.
cat >"$apt_dir/apt.conf" <<EOF
APT::Architecture "$arch";
APT::Architectures { "$arch"; };
APT::Install-Recommends "false";
APT::Sandbox::User "root";
Dir::State "$apt_dir/state";
Dir::State::status "$apt_dir/status";
Dir::Cache "$apt_dir/cache";
EOF
export APT_CONFIG="$apt_dir/apt.conf"
echo "Fetching the $arch packages for $sysroot"
$sudo env APT_CONFIG="$APT_CONFIG" apt-get update -qq
$sudo env APT_CONFIG="$APT_CONFIG" apt-get install -qq -y --download-only "${packages[@]}" >/dev/null
[[ -n "$sudo" ]] && $sudo chown -R "$(id -u):$(id -g)" "$apt_dir"

admin="$sysroot/var/lib/dpkg"
mkdir -p "$admin/info" "$admin/updates"
echo 1 >"$admin/info/format"  # file lists named with the architecture where it matters
: >"$admin/status"
printf '%s\n' "$(dpkg --print-architecture)" "$arch" >"$admin/arch"
for deb in "$apt_dir"/cache/archives/*.deb; do
  dpkg-deb -x "$deb" "$sysroot"
  control=$(mktemp -d)
  dpkg-deb -e "$deb" "$control"
  name=$(dpkg-deb --field "$deb" Package)
  # dpkg names a package's files with its architecture when several
  # architectures of it may be installed side by side.
  [[ "$(dpkg-deb --field "$deb" Multi-Arch)" == same ]] && name="$name:$arch"
  { grep -v '^Status:' "$control/control"; echo "Status: install ok installed"; echo; } >>"$admin/status"
  # The files as they lie here, so that a search for a library found in the
  # sysroot names its package.
  dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' -e '/^$/d' -e "s|^|$sysroot|" >"$admin/info/$name.list"
  for f in symbols shlibs; do
    [[ -f "$control/$f" ]] && cp "$control/$f" "$admin/info/$name.$f"
  done
  rm -rf "$control"
done
# Links that point to an absolute path point within the sysroot instead.
find "$sysroot" -type l -lname '/*' -print0 | while IFS= read -r -d '' link; do
  target=$(readlink "$link")
  ln -sfn "$(realpath -m --relative-to="$(dirname "$link")" "$sysroot$target")" "$link"
done
# Fonts, their settings and SoundFonts come from the machine, so that emulated
# programs draw and sound as the machine's own do (qemu-user looks for a file in
# the sysroot first, and would find only what was unpacked there).
rm -rf "$sysroot/etc/fonts" "$sysroot/usr/share/fonts" "$sysroot/usr/share/sounds"
echo "${packages[*]}" >"$stamp"
echo "$sysroot: $(ls "$apt_dir"/cache/archives/*.deb | wc -l) packages for $arch"
