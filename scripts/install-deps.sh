#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Morvo needs.
# Idempotent: asks dpkg first and only calls apt-get for what is missing. Packages named as
# arguments are installed too (for example the benchmark-only ones of scripts/bench.sh).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev libjpeg-dev libtiff-dev zlib1g-dev nlohmann-json3-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev libegl-mesa0
  qt6-base-dev libqt6opengl6-dev fonts-dejavu-core
  xvfb xauth desktop-file-utils
  clang libclang-rt-dev clang-format
  assimp-utils libcoin-dev
  libmeshoptimizer-dev libdraco-dev
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
