#!/usr/bin/env bash
# Set-up, build, then start the program in run/, the working directory it expects
# (local.db, config.ini and console.log live there; images/ and templates/ are linked in).
set -euo pipefail
source "$(dirname "$0")/runtime-dir.sh"
exec "$root/build/vevo" "$@"
