#!/usr/bin/env bash
# Installs the Debian packages that are missing for `run` (build and start the calculator)
# or `test` (build and run every test). Runs apt-get only when something is missing.
set -euo pipefail

run_packages=(
  build-essential cmake
  qt6-base-dev qt6-qpa-plugins libgl-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
  libcli11-dev nlohmann-json3-dev libcsv-dev
  fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n
)
test_packages=(
  "${run_packages[@]}"
  libgtest-dev
  clang libclang-rt-14-dev
  xvfb xauth xclip x11-utils
  cups printer-driver-cups-pdf poppler-utils
  desktop-file-utils
  ngspice
  man-db bash-completion
  dpkg-dev file lintian appstream xdotool
)

case "${1:-}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
