#!/usr/bin/env bash
# Installs the Debian packages that cross-build Vevo for Windows and run it under Wine,
# skipping those already present. Source packages come from bookworm's deb-src, enabled here.
set -euo pipefail

packages=(
    cmake ninja-build pkg-config dpkg-dev xz-utils autoconf automake libtool
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
    wine wine64 nsis xvfb xauth xdotool imagemagick sqlite3 python3-openpyxl
    qt6-base-dev-tools qt6-base-dev qt6-translations-l10n fonts-wine libsimpleini-dev googletest
)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

sources=/etc/apt/sources.list.d/vevo-deb-src.sources
updated=""
if [ ! -f "$sources" ]; then
    # The same archives as the machine's own binary sources, for their source packages.
    $sudo tee "$sources" >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    $sudo apt-get update -qq
    updated=yes
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    [ -n "$updated" ] || $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
