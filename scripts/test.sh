#!/usr/bin/env bash
# Builds everything and runs the whole test suite under a virtual display,
# builds the Debian package when dpkg-dev is installed;
# then the fuzz targets a few seconds each (with clang) and the whole suite
# again under the address and undefined-behaviour checkers (build-asan).
# ZK_FUZZ=0 or ZK_ASAN=0 leaves out the fuzz or the checked run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs="$(nproc)"
display=(xvfb-run -a -s "-screen 0 1024x768x24")
(cd build && "${display[@]}" ctest --output-on-failure -j"$jobs" --timeout 600)
# The Debian package, when the packaging tools are there (dpkg-dev; lintian
# checks it when installed too).
if command -v dpkg-shlibdeps > /dev/null && command -v cpack > /dev/null; then
  scripts/package.sh
else
  echo "test.sh: dpkg-dev is not installed: the Debian package was not built" >&2
fi
if [ "${ZK_FUZZ:-1}" != 0 ] && command -v clang++ > /dev/null; then
  cmake --preset fuzz -DZK_FUZZ_SECONDS="${ZK_FUZZ_SECONDS:-5}" > /dev/null
  cmake --build build-fuzz -j"$jobs" --target fuzz_all
  ctest --preset fuzz -j"$jobs"
fi
if [ "${ZK_ASAN:-1}" != 0 ]; then
  cmake --preset asan > /dev/null
  cmake --build build-asan -j"$jobs"
  "${display[@]}" ctest --preset asan -j"$jobs"
fi
