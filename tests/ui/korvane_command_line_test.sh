#!/usr/bin/env bash
# The window program's command line: --help and --version answer on standard output
# without a window, an unknown option is refused, and without a display the program says
# so in one line and exits 1 instead of aborting.
#   korvane_command_line_test.sh <path to korvane>
set -euo pipefail
korvane=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)

out=$("${no_display[@]}" "$korvane" --version) || fail "--version exited $?"
[[ $out == "korvane 2.5.0" ]] || fail "--version printed '$out'"
out=$("${no_display[@]}" "$korvane" --help) || fail "--help exited $?"
grep -q -- '--version' <<<"$out" || fail "--help lacks --version: $out"

status=0
err=$("${no_display[@]}" "$korvane" 2>&1 >/dev/null) || status=$?
[[ $status == 1 ]] || fail "without a display: exit $status"
[[ $(wc -l <<<"$err") == 1 && $err == *"no display"* ]] || fail "without a display: '$err'"

status=0
"${no_display[@]}" "$korvane" --no-such-option >/dev/null 2>&1 || status=$?
[[ $status == 1 ]] || fail "unknown option: exit $status"
QT_QPA_PLATFORM=offscreen "$korvane" --no-such-option >/dev/null 2>&1 && fail "unknown option accepted"
echo "korvane command line: all checks passed"
