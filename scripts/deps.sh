#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, if any is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang libclang-rt-14-dev clang-format googletest libgtest-dev libbenchmark-dev
  libgtk-3-dev libxrandr-dev libx11-dev libxext-dev libxdamage-dev libpng-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-tools
  fonts-liberation2 xvfb xauth xdotool imagemagick x11-utils openbox
  gstreamer1.0-plugins-base-apps librsvg2-bin desktop-file-utils appstream libxml2-utils man-db file
  libegl-dev libgl-dev libegl-mesa0 libgl1-mesa-dri
  xscreensaver
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}" >&2
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Not root and no sudo: install these packages as root first: ${missing[*]}" >&2
    exit 1
  fi
  as_root=(sudo)
fi
# env, not a plain assignment: sudo drops the caller's environment, and a package that asks a
# question (tzdata, for one) would otherwise wait for an answer forever.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
