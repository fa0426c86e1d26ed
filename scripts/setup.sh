#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing) and
# configures and builds everything into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
pkgs=(build-essential cmake ninja-build pkg-config libsdl2-dev libfreetype-dev libpng-dev
      libfluidsynth-dev fluid-soundfont-gm xfonts-shinonome fonts-urw-base35
      libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth
      desktop-file-utils appstream # the install test validates the desktop entry and metainfo
      clang libclang-rt-14-dev python3) # clang and its runtime: the fuzz targets
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y "${missing[@]}"
fi
# efont is only the fallback for the few CP932 characters Shinonome lacks.
if ! dpkg-query -W -f='${Status}' xfonts-efont-unicode 2>/dev/null | grep -q "install ok installed"; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends xfonts-efont-unicode || true
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
