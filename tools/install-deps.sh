#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Does nothing when they are all present; uses sudo when not root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libsdl2-ttf-dev libsdl2-image-dev libsdl2-mixer-dev
  libfluidsynth-dev libfontconfig-dev libunibreak-dev libpng-dev libgif-dev libsndfile1-dev libspeechd-dev
  libgtest-dev libgmock-dev
  fonts-ipafont-gothic fonts-liberation timgm6mb-soundfont
  xvfb xdotool x11-utils imagemagick sox python3 python3-xlib python3-pil
  gdk-pixbuf-tests libsdl2-image-tests desktop-file-utils appstream man-db file
  openbox wmctrl dpkg-dev xclip
  openttd-openmsx planetblupi-music-midi
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
