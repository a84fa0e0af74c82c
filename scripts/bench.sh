#!/usr/bin/env bash
# Runs every benchmark program of the build folder, one figure a line.
set -eu
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
status=0
for b in "$build"/bench/*_bench; do
  [ -x "$b" ] || continue
  "$b" || status=1
done
exit $status
