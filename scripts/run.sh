#!/usr/bin/env bash
# Starts Keyholm; says so plainly when there is no display to show it on.
set -u
program=${1:-build/keyholm}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "keyholm: no display available (set DISPLAY, or run it under xvfb-run)" >&2
  exit 1
fi
exec "$program"
