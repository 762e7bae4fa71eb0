#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (ctest). Fails on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j 2 --timeout 300
