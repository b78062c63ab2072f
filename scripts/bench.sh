#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; arguments go to every benchmark program
# (for example --benchmark_filter=Compact).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh
# Reference libraries the benchmarks compare with (OpenSubdiv for Smooth, assimp for OBJ import);
# a comparison whose library cannot be installed is skipped.
for p in libosd-dev libassimp-dev; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$p" \
      >/dev/null 2>&1 || echo "bench: $p not installed, its comparison is skipped"
  fi
done
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVO_BUILD_TESTS=OFF \
  -DMORVO_BUILD_BENCH=ON >/dev/null
cmake --build build-release -j "$(nproc)"
for b in build-release/bin/bench_*; do
  echo "== $(basename "$b")"
  "$b" "$@"
done
