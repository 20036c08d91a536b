#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Vantrel need, only those missing.
set -euo pipefail
packages=(
  cmake g++ make pkg-config dpkg-dev file
  qt6-base-dev libqt6svg6 libsdl2-dev libx11-dev libxtst-dev libxi-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils trayer dbus dbus-x11 fonts-dejavu-core libglib2.0-bin
  clang-14 libclang-rt-14-dev
  help2man lintian appstream desktop-file-utils man-db
  qemu-system-x86 busybox-static udev xz-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
cmd=(apt-get install -y --no-install-recommends "${missing[@]}")
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive "${cmd[@]}"
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive "${cmd[@]}"
else
  echo "Vantrel needs these packages to build: ${missing[*]}" >&2
  echo "Install them with:  sudo apt-get update && sudo ${cmd[*]}" >&2
  exit 1
fi
