#!/usr/bin/env bash
# Validates the desktop entry in the source tree, then installs the build into a scratch
# prefix and checks that the executable, the entry and the scalable icon are where the
# freedesktop conventions put them, and the window's modules in their folder.
#   desktop_entry_test.sh <source dir> <build dir> <scratch dir> <module folder under the prefix>
set -euo pipefail
source_dir=$1
build_dir=$2
prefix=$3
module_dir=$4

desktop-file-validate "$source_dir/packaging/korvane.desktop"

rm -rf "$prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
entry="$prefix/share/applications/korvane.desktop"
icon="$prefix/share/icons/hicolor/scalable/apps/korvane.svg"
[[ -x "$prefix/bin/korvane" ]] || { echo "bin/korvane not installed" >&2; exit 1; }
# The modules, where the calculator looks for them.
for module in korvane_response.so korvane_printing.so; do
  [[ -f "$prefix/$module_dir/$module" ]] || { echo "$module_dir/$module not installed" >&2; exit 1; }
done
[[ -f "$entry" ]] || { echo "desktop entry not installed" >&2; exit 1; }
[[ -f "$icon" ]] || { echo "scalable icon not installed" >&2; exit 1; }
desktop-file-validate "$entry"
grep -qx 'Exec=korvane' "$entry"
grep -qx 'Icon=korvane' "$entry"
grep -q '<svg' "$icon"
echo "desktop entry and icon installed under $prefix"
