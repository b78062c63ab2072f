#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; arguments go to every benchmark program
# (for example --benchmark_filter=Compact).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh
# OpenSubdiv is the yardstick of the Smooth benchmark only; without it that comparison is skipped.
if ! dpkg -s libosd-dev >/dev/null 2>&1; then
  apt-get install -y libosd-dev >/dev/null 2>&1 || echo "libosd-dev not installed: no OpenSubdiv comparison"
fi
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVO_BUILD_TESTS=OFF \
  -DMORVO_BUILD_BENCH=ON >/dev/null
cmake --build build-release -j "$(nproc)"
for b in build-release/bin/bench_*; do
  echo "== $(basename "$b")"
  "$b" "$@"
done
