#!/usr/bin/env bash
# Builds the Release configuration and packs the installed tree as a Debian package, whose
# dependencies dpkg-shlibdeps works out. Prints the package's path.
#   scripts/package.sh
#   sudo apt-get install ./build-package/morvo_*.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh dpkg-dev file
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVO_BUILD_TESTS=OFF \
  -DMORVO_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-package -j "$(nproc)"
cd build-package
rm -f morvo_*.deb
cpack -G DEB >/dev/null
ls "$PWD"/morvo_*.deb
