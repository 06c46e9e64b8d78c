#!/usr/bin/env bash
# `make run`: start Corvane from the build tree.
set -euo pipefail
build=${1:-build}
bin="$build/bin/corvane"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: run 'xvfb-run make run' to start Corvane on a virtual display."
  exit 0
fi
exec "$bin"
