#!/usr/bin/env bash
# Installs the Debian packages Velnora builds with, only those that are missing. libFuzzer and
# the sanitizer runtimes for clang are only recommended by clang, so they are named here.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools libgtest-dev
          libsqlite3-dev libsdl2-mixer-dev timgm6mb-soundfont xvfb imagemagick
          desktop-file-utils appstream clang clang-format libclang-rt-14-dev fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
# Recommended packages come along: Qt's platform extras are only recommended by its libraries.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
