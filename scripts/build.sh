#!/usr/bin/env bash
# Configures (first time) and builds both trees: build/native and build/win64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

configure() {  # dir, extra cmake args...
  local dir=$1; shift
  # Again when a tree made before warnings became an option lacks the setting.
  if [ ! -f "$dir/build.ninja" ] || ! grep -q '^BW_WERROR:BOOL=ON' "$dir/CMakeCache.txt"; then
    cmake -S . -B "$dir" -G Ninja -Wno-dev "$@" >/dev/null
  fi
}
configure build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBW_WERROR=ON
configure build/win64 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBW_WERROR=ON -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake"

# Quiet on success; ninja prints the failing command and the compiler's words on error.
cmake --build build/native -j "$jobs" -- --quiet
cmake --build build/win64 -j "$jobs" -- --quiet
