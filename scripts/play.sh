#!/usr/bin/env bash
# Builds the game and the default game data, then starts it in build/game/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd build/game
exec ../zandrek
