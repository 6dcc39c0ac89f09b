#!/usr/bin/env bash
# Starts the program under a virtual X display (Xvfb) in a fresh working directory and saves a
# picture of every screen it has, one PNG per screen, named after the screen, and of each of
# the directory's lists and forms; the fresh local.db gets a few buildings and apartments first.
#   tools/screenshots.sh [output folder]     (default: run/screenshots)
# The program is taken from $VEVO_BINARY, else build/vevo (built first if missing).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$root/run/screenshots}")"
binary="$(realpath -m "${VEVO_BINARY:-$root/build/vevo}")"
[ -x "$binary" ] || "$root/tools/build.sh"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ln -s "$root/images" "$work/images"
ln -s "$root/templates" "$work/templates"
mkdir -p "$out"
cd "$work"
QT_QPA_PLATFORM=xcb xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" \
    "$binary" --screenshots "$out"
ls -1 "$out"/*.png
