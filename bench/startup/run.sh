#!/usr/bin/env bash
# Start-up benchmark: time from launch to the first painted frame, and peak memory, of
# the calculator beside a bare Qt window of the same size, on one X server, in one run.
# A third line, the bare window with one Japanese label, shows the share of any text.
#   bench/startup/run.sh [repetitions]     (default 40; builds build-bench-startup/)
# KORVANE_STARTUP_ALSO="name|command" adds one more program to the same run, e.g. another
# build's korvane_probed to compare against.
# The programs print "first-paint <microseconds since the epoch> cpu <microseconds>" and
# quit when KORVANE_EXIT_AFTER_FIRST_PAINT is set; the launch time is taken just before
# each start.
set -euo pipefail
cd "$(dirname "$0")/../.."
repetitions=${1:-40}
build=build-bench-startup

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORVANE_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target korvane_probed bare_window -j"$(nproc)" >/dev/null

# name|command, the command split on blanks
runs=("korvane|$build/bin/korvane_probed"
      "bare_window|$build/bin/bare_window"
      "bare_window --japanese-label|$build/bin/bare_window --japanese-label")
[[ -z "${KORVANE_STARTUP_ALSO:-}" ]] || runs+=("$KORVANE_STARTUP_ALSO")
declare -A times memory cpu paint_cpu
scratch=$(mktemp)
trap 'rm -f "$scratch"' EXIT

measure() {  # measure <run>: appends one time (us), two CPU times (ms, us) and one peak RSS (KiB)
  local name=${1%%|*} command start output paint used rss user system
  read -r -a command <<<"${1#*|}"
  start=${EPOCHREALTIME/./}
  output=$(KORVANE_EXIT_AFTER_FIRST_PAINT=1 /usr/bin/time -f "%M %U %S" -o "$scratch" \
           "${command[@]}")
  read -r _ paint _ used <<<"$output"
  times[$name]+="$((paint - start)) "
  paint_cpu[$name]+="$used "
  read -r rss user system < <(tail -n 1 "$scratch")
  memory[$name]+="$rss "
  # CPU time is steadier than wall time on a shared machine: user plus system, in ms.
  cpu[$name]+="$(awk -v u="$user" -v s="$system" 'BEGIN {printf "%.0f", (u + s) * 1000}') "
}

# One warm-up each (fonts and libraries into the page cache), then alternate the order
# so that drift hits every program alike.
for run in "${runs[@]}"; do measure "$run"; done
times=()
memory=()
cpu=()
paint_cpu=()
for ((i = 0; i < repetitions; i++)); do
  if ((i % 2 == 0)); then
    for run in "${runs[@]}"; do measure "$run"; done
  else
    for ((r = ${#runs[@]} - 1; r >= 0; r--)); do measure "${runs[r]}"; done
  fi
done

summary() {  # summary <values...>: median and mean
  printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1; s += $1}
    END {m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
         printf "median %.0f  mean %.0f", m, s / NR}'
}

echo "repetitions: $repetitions (Xvfb 1280x1024x24, xcb, Release)"
for run in "${runs[@]}"; do
  name=${run%%|*}
  # shellcheck disable=SC2086
  echo "$name: first paint us: $(summary ${times[$name]});" \
    "CPU to first paint us: $(summary ${paint_cpu[$name]}); CPU ms: $(summary ${cpu[$name]});" \
    "peak RSS KiB: $(summary ${memory[$name]})"
done
