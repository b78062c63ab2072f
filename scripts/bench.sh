#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; arguments go to every benchmark program
# (for example --benchmark_filter=Compact).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

# With the reference libraries the benchmarks compare with: CGAL for the triangulation,
# OpenSubdiv for Smooth, assimp for OBJ import.
bash scripts/install-deps.sh libcgal-dev libgmp-dev libmpfr-dev libosd-dev libassimp-dev
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVO_BUILD_TESTS=OFF \
  -DMORVO_BUILD_BENCH=ON >/dev/null
cmake --build build-release -j "$(nproc)"
for b in build-release/bin/bench_*; do
  echo "== $(basename "$b")"
  "$b" "$@"
done
echo "== morvo-cli play --timing: a grid smoothed four times, Move normal dragged over 40 motions"
build-release/bin/make_timing_session build-release/timing_session.mvs
build-release/bin/morvo-cli play build-release/timing_session.mvs --timing | tail -n 4
