#!/usr/bin/env bash
# Builds one libFuzzer target with clang, ASan and UBSan into build-fuzz/ and runs it.
#   scripts/fuzz.sh TARGET [SECONDS] [extra libFuzzer flags...]
# The run starts from the target's seeds in fuzz/corpus/TARGET (read only) and keeps what it
# finds in build-fuzz/corpus/TARGET; crashes land in build-fuzz/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
target="${1:?usage: scripts/fuzz.sh TARGET [SECONDS] [flags...]}"
seconds="${2:-60}"
shift $(($# >= 2 ? 2 : 1))

seeds="$root/fuzz/corpus/$target"
if [ ! -d "$seeds" ] || [ -z "$(ls -A "$seeds")" ]; then
  echo "scripts/fuzz.sh: no seeds for $target in fuzz/corpus/$target" >&2
  exit 1
fi

bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORVO_BUILD_FUZZ=ON -DMORVO_SANITIZE=ON -DMORVO_BUILD_TESTS=OFF -DMORVO_BUILD_BENCH=OFF \
  >/dev/null
cmake --build build-fuzz --target "$target"

mkdir -p "build-fuzz/corpus/$target"
cd build-fuzz
# The first folder receives new inputs; the seed folder is only read.
exec "bin/$target" -max_total_time="$seconds" -print_final_stats=1 "$@" "corpus/$target" "$seeds"
