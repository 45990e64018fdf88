#!/usr/bin/env bash
# Installs what the build needs from Debian's packages (only what is missing), then configures
# and builds into build/, or with --sanitize into build-sanitize/ with AddressSanitizer and
# UBSan; with --packages-only it installs and ends. Used by ./run, ./test and .ci/run.
# KIILA_WERROR=ON in the environment makes every warning an error (as .ci/run builds).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
options=(-DKIILA_WERROR="${KIILA_WERROR:-OFF}")
packages_only=""
case "${1:-}" in
--sanitize)
    build=build-sanitize
    options+=(-DKIILA_SANITIZE=ON)
    ;;
--packages-only) packages_only=yes ;;
esac

# clang and its runtime build the fuzz targets (libFuzzer); locales gives the tests a locale
# with a decimal comma.
packages=(cmake g++ make pkgconf qt6-base-dev qt6-svg-dev libgl-dev fonts-liberation
          libbenchmark-dev time python3 clang libclang-rt-14-dev clang-format locales
          # Qt's own dialogs and buttons in the program's language (qtbase_fi.qm)
          qt6-translations-l10n
          # the Debian package: dpkg-shlibdeps computes its dependencies; the package tests
          # check it with Debian's tools
          dpkg-dev lintian desktop-file-utils appstream man-db groff-base bsdextrautils file
          # the design file's type: its database and GIO's tool, which reads it without a desktop
          shared-mime-info libglib2.0-bin
          # the accessibility test: a virtual display, a private session bus with the
          # accessibility bus, and the client that reads the program as a screen reader does
          xvfb xauth dbus at-spi2-core python3-pyatspi
          # the window-manager test: a window manager, and the tools that drive the program and
          # read the window manager's properties
          openbox xdotool x11-utils)
# The print tests run their own CUPS scheduler with a PDF queue and read the page back with
# Poppler. The program asks libcups whether a print job was refused. Without recommends: no
# printer browsing, no avahi.
print_packages=(cups libcups2-dev poppler-utils)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
updated=""
# install [apt-get option...] -- package...: installs those not installed yet.
install() {
    local options=() missing=()
    while [ "$1" != -- ]; do options+=("$1"); shift; done
    shift
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    [ -n "$updated" ] || $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    updated=yes
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq -o DPkg::Lock::Timeout=600 \
        "${options[@]}" "${missing[@]}" >/dev/null
}
install -- "${packages[@]}"
install --no-install-recommends -- "${print_packages[@]}"
[ -z "$packages_only" ] || exit 0

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
