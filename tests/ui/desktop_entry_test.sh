#!/usr/bin/env bash
# Validates the desktop entry in the source tree, then installs the build into a scratch
# prefix and checks that the executable, the entry and the scalable icon are where the
# freedesktop conventions put them, and the response window's module beside the executable.
#   desktop_entry_test.sh <source dir> <build dir> <scratch dir>
set -euo pipefail
source_dir=$1
build_dir=$2
prefix=$3

desktop-file-validate "$source_dir/packaging/korvane.desktop"

rm -rf "$prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
entry="$prefix/share/applications/korvane.desktop"
icon="$prefix/share/icons/hicolor/scalable/apps/korvane.svg"
[[ -x "$prefix/bin/korvane" ]] || { echo "bin/korvane not installed" >&2; exit 1; }
# The response window's module, where the calculator looks for it: beside itself.
[[ -f "$prefix/bin/korvane_response.so" ]] || { echo "response module not installed" >&2; exit 1; }
[[ -f "$entry" ]] || { echo "desktop entry not installed" >&2; exit 1; }
[[ -f "$icon" ]] || { echo "scalable icon not installed" >&2; exit 1; }
desktop-file-validate "$entry"
grep -qx 'Exec=korvane' "$entry"
grep -qx 'Icon=korvane' "$entry"
grep -q '<svg' "$icon"
echo "desktop entry and icon installed under $prefix"
