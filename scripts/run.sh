#!/usr/bin/env bash
# Sets up and builds, then starts the program (under xvfb-run when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; starting under xvfb-run"
  exec xvfb-run -a build/varnokel "$@"
fi
exec build/varnokel "$@"
