#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "$top/build"
ctest --output-on-failure -j2 --timeout 300
