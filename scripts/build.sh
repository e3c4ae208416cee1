#!/usr/bin/env bash
# Configures (first time) and builds both trees: build/native and build/win64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

configure() {  # dir, extra cmake args...
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -Wno-dev "$@" >/dev/null
}
configure build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
configure build/win64 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake"

# Quiet on success; ninja prints the failing command and the compiler's words on error.
cmake --build build/native -j "$jobs" -- --quiet
cmake --build build/win64 -j "$jobs" -- --quiet
