#!/usr/bin/env bash
# Builds everything and runs the whole test suite under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd build
xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j"$(nproc)" --timeout 600
