#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration and starts Morvo.
#   scripts/run.sh [scene.mvo]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVO_BUILD_TESTS=OFF \
  -DMORVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-release -j "$(nproc)" --target morvo morvo-cli
exec build-release/bin/morvo "$@"
