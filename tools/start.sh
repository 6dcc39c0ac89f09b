#!/usr/bin/env bash
# Set-up, build, then start the program in run/, the working directory it expects
# (local.db, config.ini and console.log live there; images/ and templates/ are linked in).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/setup.sh"
"$root/tools/build.sh"
mkdir -p "$root/run"
ln -sfn "$root/images" "$root/run/images"
ln -sfn "$root/templates" "$root/run/templates"
cd "$root/run"
exec "$root/build/vevo" "$@"
