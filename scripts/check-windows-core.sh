#!/usr/bin/env bash
# Cross-compiles the Qt-free core and its tests for 64-bit Windows with MinGW-w64 and runs the
# tests under wine, headless. BUILD_DIR (default build-windows/) holds the build, and the wine
# prefix it runs in. "--build-only" stops after building.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-windows}"
run=1
if [ "${1:-}" = "--build-only" ]; then
    run=0
fi

bash "$root/scripts/install-deps.sh" windows

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVEKATON_SHELL=OFF -DVEKATON_WERROR=ON \
    -DVEKATON_GTEST_SOURCE_DIR=/usr/src/googletest
cmake --build "$build"
if [ "$run" -eq 0 ]; then
    exit 0
fi

# A prefix of its own, made afresh, and no display: the tests are console programs.
export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
rm -rf "$WINEPREFIX"
wineserver=/usr/lib/wine/wineserver
stop_wine() { "$wineserver" -k 2>/dev/null || true; }
trap stop_wine EXIT
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w

cd "$build"
ctest --output-on-failure --timeout 900 -j2
