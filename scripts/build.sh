#!/usr/bin/env bash
# Configures once and builds incrementally into build/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -f "$top/build/build.ninja" ]; then
  cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$top/build" -j2
