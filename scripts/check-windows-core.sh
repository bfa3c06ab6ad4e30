#!/usr/bin/env bash
# Cross-compiles the Qt-free core and its tests for 64-bit Windows with MinGW-w64 and runs the
# tests under wine, headless. BUILD_DIR (default build-windows/) holds the build and the wine
# prefix it runs in. "--build-only" stops after building. Each step's time is printed as it ends
# and all together at the end.
#
# Its cost, measured from scratch without a compiler cache on the 2-core development machine
# while other builds shared it (load 8 to 9): 11 min 14 s in all. The build took 10 min 35 s
# (5 min 38 s of processor time), starting wine 15 s, the tests 24 s; installing the packages was
# not measured (about 165 MB to download on a fresh system). The machine's own work is under 10
# minutes, and CI (.ci/run) runs the check in full: a build without running ("--build-only")
# would save only the 40 s of wine and the tests.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-windows}"
run=1
if [ "${1:-}" = "--build-only" ]; then
    run=0
fi
# Each step's wall time and the processor time of what it ran: on a busy machine the wall time
# says little, the processor time what the step costs.
step_times=()
times_file="$(mktemp)"
cpu=0
read_cpu() {
    # Line 2 of `times` is the finished children's user and system time, as "1m2.345s 0m6.789s";
    # `times` must run in this shell, not in a subshell, to see them.
    times >"$times_file"
    cpu=$(sed -n 2p "$times_file" | tr 'ms' '  ' | awk '{ printf "%d", $1 * 60 + $2 + $3 * 60 + $4 }')
}
step_started=$SECONDS
step_cpu=0
step_done() {
    read_cpu
    step_times+=("$1 $((SECONDS - step_started)) s (processor $((cpu - step_cpu)) s)")
    echo "check-windows-core: ${step_times[-1]}"
    step_started=$SECONDS
    step_cpu=$cpu
}
report_times() {
    echo "check-windows-core: ${step_times[*]}; total $SECONDS s"
    rm -f "$times_file"
}
trap report_times EXIT

bash "$root/scripts/install-deps.sh" windows
step_done "install:"

# Optimised without debug information: the check is about behaviour, and the static test
# programs link several times faster without it.
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1" \
    -DVEKATON_SHELL=OFF -DVEKATON_WERROR=ON \
    -DVEKATON_GTEST_SOURCE_DIR=/usr/src/googletest
cmake --build "$build"
step_done "build:"
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
trap '"$wineserver" -k 2>/dev/null || true; report_times' EXIT
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w
step_done "wine:"

cd "$build"
ctest --output-on-failure --timeout 900 -j2
step_done "tests:"
