#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping those already present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libsqlite3-dev libsimpleini-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # Qt's own texts in Ukrainian, and the screens' font (Tahoma's widths, Cyrillic as written).
    qt6-base-dev qt6-translations-l10n fonts-liberation2
    # The Tahoma that tools/images/make_images.sh draws the pictures' lettering with.
    fonts-wine
    xvfb xauth imagemagick
    libxlsxwriter-dev xdg-utils python3-openpyxl
    libsodium-dev minisign
    locales
    clang libclang-rt-14-dev llvm-14
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests run once more under a comma-decimal locale (tools/test.sh), so it must exist.
if ! locale -a 2>/dev/null | grep -qix 'uk_UA\.utf-\?8'; then
    echo "Generating the uk_UA.UTF-8 locale"
    $sudo localedef -i uk_UA -f UTF-8 uk_UA.UTF-8
fi
