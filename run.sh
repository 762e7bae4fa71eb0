#!/usr/bin/env bash
# Installs what is missing, builds, and starts the KSV500 program. Extra arguments go to ksv500.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
exec build/src/app/ksv500 "$@"
