#!/usr/bin/env bash
# Installs what the build needs from Debian's packages (only what is missing), then configures
# and builds into build/. Used by ./run and ./test.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make pkgconf qt6-base-dev qt6-svg-dev libgl-dev fonts-liberation
          libbenchmark-dev python3
          # the Debian package: dpkg-shlibdeps computes its dependencies; the package tests
          # check it with Debian's tools
          dpkg-dev lintian desktop-file-utils appstream man-db groff-base bsdextrautils file)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        "${missing[@]}" >/dev/null
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
