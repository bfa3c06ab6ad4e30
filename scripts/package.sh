#!/usr/bin/env bash
# Builds the Debian package vekaton_VERSION_ARCH.deb in the checkout's top folder: a release
# build (BUILD_DIR, default build-package/) installed under /usr by CPack. The package's
# dependencies come from the libraries the programs link. Extra arguments go to cmake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-package}"
"$root/scripts/install-deps.sh"

# The distribution's hardening flags, as Debian's own packages are built, all of them; given on
# every run, so that a build folder made otherwise is brought in line.
export DEB_BUILD_MAINT_OPTIONS="${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}"
cxxflags="${CXXFLAGS:-$(dpkg-buildflags --get CXXFLAGS)} ${CPPFLAGS:-$(dpkg-buildflags --get CPPFLAGS)}"
ldflags="${LDFLAGS:-$(dpkg-buildflags --get LDFLAGS)}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DVEKATON_TESTS=OFF -DVEKATON_BENCH=OFF -DCMAKE_CXX_FLAGS="$cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags" "$@"
cmake --build "$build"
rm -f "$build"/package/vekaton_*.deb
(cd "$build" && cpack -G DEB -B "$build/package" >/dev/null)
deb="$(find "$build/package" -maxdepth 1 -name 'vekaton_*.deb' | head -n 1)"
if [ -z "$deb" ]; then
    echo "package.sh: CPack made no package" >&2
    exit 1
fi
cp "$deb" "$root/"
echo "$root/$(basename "$deb")"
