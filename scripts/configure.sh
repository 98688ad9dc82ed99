#!/usr/bin/env bash
# Configures a build folder: scripts/configure.sh <folder> [extra cmake arguments...]
set -euo pipefail
folder=$1
shift
cmake -S "$(dirname "$0")/.." -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
