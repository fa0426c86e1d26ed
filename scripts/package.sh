#!/usr/bin/env bash
# Builds the Debian package build/zandrek_VERSION_ARCH.deb from the build in
# build/ (installed under /usr, the programs stripped, their library
# dependencies found by dpkg-shlibdeps), takes the metainfo's screenshots
# into build/screenshots/ and checks the package with lintian when it is
# installed.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" > /dev/null || { echo "package.sh: $tool is missing (apt-get install dpkg-dev)" >&2; exit 1; }
done
[ -f build/CMakeCache.txt ] || scripts/setup.sh
cmake --build build -j"$(nproc)"
cmake --build build --target zk_screenshots > /dev/null
(cd build && cpack -G DEB > cpack.log) || { cat build/cpack.log >&2; exit 1; }
deb=$(ls -t build/zandrek_*.deb | head -n 1)
echo "package: $deb"
if command -v lintian > /dev/null; then
  lintian --fail-on error "$deb"
else
  echo "package.sh: lintian is not installed, the package was not checked" >&2
fi
