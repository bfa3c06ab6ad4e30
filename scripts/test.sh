#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_DIR="${BUILD_DIR:-$root/build}" "$root/scripts/build.sh" "$@"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure --timeout 600 -j2
