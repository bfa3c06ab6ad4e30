#!/usr/bin/env bash
# Installs what is needed, builds, and starts the window on the built-in simulated engine module.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_DIR="${BUILD_DIR:-$root/build}" "$root/scripts/build.sh"
exec "${BUILD_DIR:-$root/build}/src/vekaton" --demo
