#!/bin/sh
# Installs what building, running and testing need on Debian 12, only when missing.
# Sourced by the other scripts; run as root (or with sudo available) on a fresh machine.
set -e

CORVANE_PACKAGES="cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev \
libbenchmark-dev libwxgtk3.2-dev xvfb xauth xdotool imagemagick x11-utils fonts-liberation2 \
srecord python3-intelhex binutils time ghostscript openbox wmctrl xdg-utils \
shared-mime-info desktop-file-utils libfile-mimeinfo-perl weston libgtk-3-dev pkg-config \
libcairo2-dev \
lintian appstream man-db dpkg-dev fakeroot"

corvane_install_deps()
{
    missing=""
    for p in $CORVANE_PACKAGES "$@"; do
        # a package whose triggers wait for the next dpkg run is installed all the same
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -Eq "ok (installed|triggers-)"; then
            missing="$missing $p"
        fi
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -q
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -q --no-install-recommends $missing
}
