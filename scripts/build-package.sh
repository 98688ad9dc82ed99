#!/usr/bin/env bash
# Builds the Debian package from a Release build of what ships (no tests), with Debian's
# hardening flags, into <folder> (default build-package/), and prints the package's path.
#   scripts/build-package.sh [folder]
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-build-package}

# Debian's own compiler and linker flags for packages: stack protector, fortified
# functions, read-only relocations bound at start (lintian checks for them).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS

cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DBUILD_TESTING=OFF >/dev/null
cmake --build "$folder" -j"$(nproc)" >/dev/null
rm -f "$folder"/korvane_*.deb
(cd "$folder" && cpack -G DEB >/dev/null)
ls "$folder"/korvane_*.deb
