#!/usr/bin/env bash
# Starts the real executable on the X server in DISPLAY and checks what the window system
# sees: the caption, the fixed 352 x 392 client area (minimum = maximum size), the place
# centred on the screen, and that it stays up: the shipped program reads no benchmarking
# variable, so the start-up benchmark's quit-after-first-paint switch does nothing here.
#   korvane_startup_test.sh <path to korvane>
set -euo pipefail
korvane=$1
[[ -n "${DISPLAY:-}" ]] || { echo "no X server: run under xvfb-run" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb

KORVANE_EXIT_AFTER_FIRST_PAINT=1 "$korvane" >"${TMPDIR:-/tmp}/korvane_startup_out.$$" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
window=""
for _ in $(seq 300); do  # a loaded machine may take long to start the first time
  window=$(xwininfo -root -tree | awk '/"Korvane Ver2\.05"/ {print $1; exit}')
  [[ -n "$window" ]] && break
  sleep 0.1
done
[[ -n "$window" ]] || { echo "no window captioned Korvane Ver2.05" >&2; exit 1; }

info=$(xwininfo -id "$window")
width=$(awk '/Width:/ {print $2}' <<<"$info")
height=$(awk '/Height:/ {print $2}' <<<"$info")
[[ "$width" == 352 && "$height" == 392 ]] || { echo "client area ${width}x${height}" >&2; exit 1; }

hints=$(xprop -id "$window" WM_NORMAL_HINTS)
grep -q "program specified minimum size: 352 by 392" <<<"$hints" &&
  grep -q "program specified maximum size: 352 by 392" <<<"$hints" ||
  { echo "the window can be resized: $hints" >&2; exit 1; }

# Centred in the work area (without a window manager, the whole screen).
root=$(xwininfo -root)
screen_width=$(awk '/Width:/ {print $2}' <<<"$root")
screen_height=$(awk '/Height:/ {print $2}' <<<"$root")
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
expected_left=$(((screen_width - 352) / 2))
expected_top=$(((screen_height - 392) / 2))
if ((left != expected_left || top != expected_top)); then
  echo "window at $left,$top, expected $expected_left,$expected_top" >&2
  exit 1
fi

sleep 0.5
kill -0 "$pid" || { echo "korvane ended by itself" >&2; exit 1; }
out_file="${TMPDIR:-/tmp}/korvane_startup_out.$$"
[[ ! -s $out_file ]] || { echo "korvane printed: $(cat "$out_file")" >&2; exit 1; }
rm -f "$out_file"
echo "korvane started: window $window, ${width}x${height} at $left,$top"
