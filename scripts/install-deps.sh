#!/usr/bin/env bash
# Installs the Debian packages Zembrak needs to build, run and test, when any
# is missing: directly as root, through sudo otherwise.
set -euo pipefail

packages=(
    cmake g++ make ninja-build ccache clang libclang-rt-dev
    qt6-base-dev qt6-multimedia-dev libgl1-mesa-dev libx11-dev libxtst-dev
    libgtest-dev libbenchmark-dev libsndfile1-dev pkg-config
    xvfb xdotool x11-xserver-utils x11-xkb-utils imagemagick fonts-liberation2
    pulseaudio pulseaudio-utils sox
    desktop-file-utils appstream strace dpkg-dev file
    qt6-httpserver-dev qt6-websockets-dev libxss-dev dbus-daemon nodejs curl chromium
    valgrind dbus
    qt6-wayland weston
    libgtk-3-dev librsvg2-dev libcurl4-openssl-dev libsqlite3-dev libao-dev libmpg123-dev bison flex sqlite3 iproute2 xz-utils
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    run=()
elif command -v sudo >/dev/null; then
    run=(sudo)
else
    echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -qq
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
