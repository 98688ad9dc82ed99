#!/usr/bin/env bash
# Installs what is missing, builds the calculator into build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
scripts/configure.sh build
cmake --build build --target korvane -j"$(nproc)"
exec build/bin/korvane "$@"
