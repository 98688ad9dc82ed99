#!/usr/bin/env bash
# Start-up benchmark: time from launch to the first painted frame, and peak memory, of
# the calculator beside a bare Qt window of the same size, on one X server, in one run.
#   bench/startup/run.sh [repetitions]     (default 40; builds build-bench-startup/)
# Both programs print "first-paint <microseconds since the epoch>" and quit when
# KORVANE_EXIT_AFTER_FIRST_PAINT is set; launch time is taken just before each start.
set -euo pipefail
cd "$(dirname "$0")/../.."
repetitions=${1:-40}
build=build-bench-startup

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORVANE_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target korvane bare_window -j"$(nproc)" >/dev/null

programs=("$build/bin/korvane" "$build/bin/bare_window")
declare -A times memory
scratch=$(mktemp)
trap 'rm -f "$scratch"' EXIT

measure() {  # measure <program>: appends one time (us) and one peak RSS (KiB)
  local program=$1 start output paint
  start=${EPOCHREALTIME/./}
  output=$(KORVANE_EXIT_AFTER_FIRST_PAINT=1 /usr/bin/time -f %M -o "$scratch" "$program")
  paint=${output#first-paint }
  times[$program]+="$((paint - start)) "
  memory[$program]+="$(tail -n 1 "$scratch") "
}

# One warm-up each (fonts and libraries into the page cache), then alternate the order
# so that drift hits both programs alike.
for program in "${programs[@]}"; do measure "$program"; done
for program in "${programs[@]}"; do times[$program]=""; memory[$program]=""; done
for ((i = 0; i < repetitions; i++)); do
  if ((i % 2 == 0)); then
    measure "${programs[0]}"; measure "${programs[1]}"
  else
    measure "${programs[1]}"; measure "${programs[0]}"
  fi
done

summary() {  # summary <values...>: median and mean
  printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1; s += $1}
    END {m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
         printf "median %.0f  mean %.0f", m, s / NR}'
}

echo "repetitions: $repetitions (Xvfb 1280x1024x24, xcb, Release)"
for program in "${programs[@]}"; do
  # shellcheck disable=SC2086
  echo "$(basename "$program"): first paint us: $(summary ${times[$program]});" \
       "peak RSS KiB: $(summary ${memory[$program]})"
done
