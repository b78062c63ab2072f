#!/usr/bin/env bash
# Builds one libFuzzer target with clang, ASan and UBSan into build-fuzz/ and runs it.
#   scripts/fuzz.sh TARGET [SECONDS] [extra libFuzzer flags...]
# The seed corpus fuzz/corpus/TARGET is copied into build-fuzz/corpus/TARGET, which keeps
# what the run finds; crashes land in build-fuzz/. fuzz/TARGET.dict, when there is one, is the
# run's dictionary.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
target="${1:?usage: scripts/fuzz.sh TARGET [SECONDS] [flags...]}"
seconds="${2:-60}"
shift $(($# >= 2 ? 2 : 1))

bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORVO_BUILD_FUZZ=ON -DMORVO_SANITIZE=ON -DMORVO_BUILD_TESTS=OFF -DMORVO_BUILD_BENCH=OFF \
  >/dev/null
cmake --build build-fuzz --target "$target"

corpus="build-fuzz/corpus/$target"
mkdir -p "$corpus"
[ -d "fuzz/corpus/$target" ] && cp -n "fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null || true
dict=()
[ -f "fuzz/$target.dict" ] && dict=("-dict=$root/fuzz/$target.dict")
cd build-fuzz
exec "bin/$target" -max_total_time="$seconds" -print_final_stats=1 "${dict[@]}" "$@" "corpus/$target"
