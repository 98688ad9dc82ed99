#!/usr/bin/env bash
# Checks a built Debian package as a user and Debian's tools would see it: lintian finds no
# error or warning; the AppStream entry, the desktop entry and the man pages are valid;
# and the package, extracted with dpkg -x into a temporary folder, runs from there:
# korvane-cli designs, korvane answers --version without a display, and the window, on
# the X server in DISPLAY, loads its response and printing modules from the extracted
# tree when their buttons are clicked.
#   scripts/check-package.sh <package.deb>
set -euo pipefail
deb=$(realpath "$1")
root=$(realpath "$(dirname "$0")/..")
checks=0
pass() { echo "check-package: $*"; checks=$((checks + 1)); }
fail() { echo "check-package: FAIL: $*" >&2; exit 1; }

status=0
report=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
grep -v 'running with root privileges' <<<"$report" || true
((status == 0)) || fail "lintian reports errors or warnings"
pass "lintian: no errors, no warnings"

tree=$(mktemp -d)
trap 'kill "${window_pid:-}" 2>/dev/null || true; rm -rf "$tree"' EXIT
dpkg -x "$deb" "$tree"
bin=$tree/usr/bin

appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "appstreamcli validate: $(appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml)"
desktop-file-validate "$tree/usr/share/applications/korvane.desktop" || fail "desktop-file-validate"
pass "AppStream entry and desktop entry valid"

for page in korvane korvane-cli; do
  file=$tree/usr/share/man/man1/$page.1.gz
  [[ -f $file ]] || fail "no man page $page(1)"
  warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$page(1): $warnings"
done
pass "man pages korvane(1) and korvane-cli(1) render without warnings"

# Nothing in the package may point back at the tree it was built from.
if grep -rlF --binary-files=text "$root" "$tree" >/dev/null; then
  fail "files name the build tree: $(grep -rlF --binary-files=text "$root" "$tree")"
fi

version=$(dpkg-deb -f "$deb" Version)
cd /  # run from elsewhere than the package
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
out=$("${no_display[@]}" "$bin/korvane" --version) || fail "korvane --version exited $?"
[[ $out == "korvane $version" ]] || fail "korvane --version printed '$out', the package is $version"
out=$("${no_display[@]}" "$bin/korvane-cli" --version) || fail "korvane-cli --version exited $?"
[[ $out == "korvane-cli $version" ]] || fail "korvane-cli --version printed '$out'"
out=$("$bin/korvane-cli" design --fo 1k --q 5 --h 2 --series-r 96) || fail "korvane-cli design exited $?"
grep -qxF 'fo = 997.947Hz   Q =   5.032   H=   2.004' <<<"$out" || fail "korvane-cli design printed: $out"
pass "extracted korvane --version and korvane-cli design run"

# The op-amp catalogue, where the program has one: its data found in the extracted tree.
if "$bin/korvane-cli" --help | grep -qE '^  opamps( |$)'; then
  names=$("$bin/korvane-cli" opamps --names) || fail "korvane-cli opamps --names exited $?"
  [[ -n $names ]] || fail "korvane-cli opamps --names printed nothing"
  pass "extracted korvane-cli opamps finds its catalogue"
fi

# The window's modules: found from the extracted executable, not from the build tree.
[[ -n ${DISPLAY:-} ]] || fail "no X server for the window check: run under xvfb-run"
modules=$(find "$tree" -name 'korvane_*.so')
[[ -n $modules && $modules != *"/usr/bin/"* ]] || fail "modules: '$modules'"
QT_QPA_PLATFORM=xcb "$bin/korvane" >/dev/null 2>&1 &
window_pid=$!
window=$(timeout 60 xdotool search --sync --name '^Korvane Ver2\.05$' | head -n 1) ||
  fail "the extracted korvane opened no window"
mapped() {  # mapped <file>: waits until the window process maps it
  for _ in $(seq 300); do
    grep -qF "$1" "/proc/$window_pid/maps" && return 0
    sleep 0.1
  done
  return 1
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
click 309 240  # 特性: the response window
mapped "$(grep korvane_response.so <<<"$modules")" || fail "the response module was not loaded"
click 54 371   # 定数計算, then 印刷: the print dialog
click 190 371
mapped "$(grep korvane_printing.so <<<"$modules")" || fail "the printing module was not loaded"
pass "extracted korvane loads its modules from $(dirname "$(head -n 1 <<<"$modules")" | sed "s|^$tree||")"
echo "check-package: $checks passed, 0 failed"
