#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping those already present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libsqlite3-dev libsimpleini-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev fonts-wine
    xvfb xauth imagemagick
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
