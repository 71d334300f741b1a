#!/usr/bin/env bash
# Installs what building and testing need on Debian 12. Idempotent, and silent
# when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libbenchmark-dev libhwy-dev
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri
  libx11-dev libxtst-dev libpng-dev libtbb-dev
  xvfb xauth python3
  clang libclang-rt-14-dev valgrind
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
