#!/usr/bin/env bash
# Starts the real executable on the X server in DISPLAY and checks, in /proc/<pid>/maps,
# that the window came up without the libraries of its modules: Qt Print Support is
# mapped at the first print and Qt Charts at the first response window, not at start-up.
#   korvane_libraries_test.sh <path to korvane>
set -euo pipefail
korvane=$1
[[ -n "${DISPLAY:-}" ]] || { echo "no X server: run under xvfb-run" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb

"$korvane" >/dev/null &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
for _ in $(seq 300); do  # a loaded machine may take long to start the first time
  xwininfo -root -tree | grep -q '"Korvane Ver2\.05"' && break
  sleep 0.1
done
xwininfo -root -tree | grep -q '"Korvane Ver2\.05"' || { echo "no window" >&2; exit 1; }

maps=$(<"/proc/$pid/maps")
grep -q 'libQt6Widgets\.so' <<<"$maps" || { echo "maps unreadable: no Qt Widgets" >&2; exit 1; }
unwanted=$(grep -oE '[^/ ]*(libQt6PrintSupport|libQt6Charts|libQt6OpenGL|korvane_[a-z]+\.so)[^ ]*' \
  <<<"$maps" | sort -u || true)
[[ -z "$unwanted" ]] || { echo "mapped at start-up: $unwanted" >&2; exit 1; }
echo "korvane started without Qt Print Support, Qt Charts and its modules"
