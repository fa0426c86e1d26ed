#!/usr/bin/env bash
# Builds the fuzz targets into build-fuzz (clang, libFuzzer, the address and
# undefined-behaviour checkers) and runs each for a bounded time.
#   scripts/fuzz.sh [seconds per target, default 60] [target name...]
# Inputs that crash, hang or leak are left in build-fuzz/fuzz/work/<target>/
# (crash-*, timeout-*, leak-*); what each run found is kept in its corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
jobs=${ZK_JOBS:-2}
cmake --preset fuzz -DZK_FUZZ_SECONDS="$seconds" > /dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_all
filter=()
if [ $# -gt 0 ]; then
  filter=(-R "^fuzz_($(IFS='|'; echo "$*"))\$")
fi
ctest --test-dir build-fuzz -L fuzz --output-on-failure -j"$jobs" --timeout $((seconds + 600)) \
  "${filter[@]}"
