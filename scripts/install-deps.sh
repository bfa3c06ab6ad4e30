#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Vekaton need.
# With the argument "windows" it installs instead what scripts/check-windows-core.sh needs (the
# MinGW-w64 cross-compiler, GoogleTest's sources and wine), which the ordinary set-up leaves out.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-serialport-dev qt6-multimedia-dev libgl1-mesa-dev
    libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev
    clang libclang-rt-14-dev clang-format
    xvfb xauth fonts-dejavu-core dbus-daemon strace
    dpkg-dev file librsvg2-bin lintian desktop-file-utils appstream
)
options=()
if [ "${1:-}" = "windows" ]; then
    # Wine's recommends are the desktop's fonts, sound and graphics, which console tests never use.
    packages=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine64)
    options=(--no-install-recommends)
fi
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${options[@]}" "${missing[@]}"
