#!/usr/bin/env bash
# Renders the main window headless into docs/screenshots/.
set -eu
build=${1:-build}
exec env QT_QPA_PLATFORM=offscreen "$build/keyholm-screenshots" "${2:-docs/screenshots}"
