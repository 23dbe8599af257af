#!/usr/bin/env bash
# Installs the Debian packages Qex needs to build, run and test. Idempotent: apt is
# only touched when something is missing. Runs as root, or through sudo when not.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libglfw3-dev libglew-dev libbullet-dev libassimp-dev libstb-dev libinih-dev libglm-dev
    libsdl2-dev libsdl2-mixer-dev libcli11-dev libmp3lame-dev libmpg123-dev fonts-dejavu-core
    libgtest-dev clang libx11-dev
    xvfb xauth x11-utils xdotool imagemagick libgl1-mesa-dri libglx-mesa0 mesa-utils
    desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
