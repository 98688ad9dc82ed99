#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: first in the normal build, then
# the Debian package's checks, then in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer that halts on the first report, then the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
scripts/install-deps.sh test
jobs=$(nproc)

# Window tests need an X server; start one unless the caller already has one.
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi
scripts/start-test-services.sh

run_suite() {  # run_suite <build folder> [cmake arguments...]
  local folder=$1
  shift
  echo "== $folder"
  scripts/configure.sh "$folder" "$@"
  cmake --build "$folder" -j"$jobs"
  ctest --test-dir "$folder" --output-on-failure -j"$jobs"
}

run_suite build

# The Debian package, from a Release build of what ships, checked with Debian's tools and
# run from a temporary folder it is extracted into.
echo "== build-package"
deb=$(scripts/build-package.sh build-package)
scripts/check-package.sh "$deb"

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
run_suite build-asan -DKORVANE_SANITIZE=ON

if [[ -x fuzz/run.sh ]]; then
  fuzz/run.sh build-fuzz
fi
