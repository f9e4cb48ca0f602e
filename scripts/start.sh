#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting on a virtual one (xvfb-run)."
  exec xvfb-run -a "$top/build/slipcraft" "$@"
fi
exec "$top/build/slipcraft" "$@"
