#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need; does nothing when all are there.
set -euo pipefail
packages=(cmake g++ make pkg-config libsdl2-dev libglew-dev libfreetype-dev libgl1-mesa-dri
          xvfb xauth googletest libgtest-dev libbenchmark-dev fonts-ipafont-gothic clang
          libpng-dev libfontconfig-dev appstream desktop-file-utils groff-base
          python3 xdotool x11-apps x11-utils openbox clang-format gettext)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get -o DPkg::Lock::Timeout=600 update
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
