#!/usr/bin/env bash
# Installs what is missing, builds the Debug configuration with warnings as errors and runs the
# whole CTest suite. Starts a private Xvfb when no display is set. Exit status is the suite's.
#   MORVO_SANITIZE=ON scripts/test.sh   builds into build-asan/ with ASan and UBSan, without the
#                                       benchmarks; leaks of the system libraries named in
#                                       scripts/lsan-suppressions.txt are not reported
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh

sanitize="${MORVO_SANITIZE:-OFF}"
build="build"
options=()
if [ "$sanitize" = "ON" ]; then
  build="build-asan"
  options=(-DMORVO_BUILD_BENCH=OFF)
  # Every sanitizer report fails the program that makes it, with the stack that led there.
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
  export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMORVO_WERROR=ON \
  -DMORVO_SANITIZE="$sanitize" "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"

if [ -z "${DISPLAY:-}" ]; then
  dispfile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dispfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$dispfile"' EXIT
  for _ in $(seq 100); do
    [ -s "$dispfile" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$dispfile")"
fi

cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
