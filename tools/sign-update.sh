#!/usr/bin/env bash
# Signs a release folder for the program's update: writes FOLDER/vevo.manifest (the version, then
# every file's SHA-256, size and path) and signs it with the publisher's minisign secret key
# into FOLDER/vevo.manifest.minisig. Upload the folder's files, these two included (in the
# program's own folder, an empty dst), as the version's pack.
#   bash tools/sign-update.sh FOLDER KEY [VERSION]
# VERSION is the project_version the service offers (default: this tree's version). The program
# refuses names other than letters, digits, ".", "_", "-" and "+", and links; so does this script.
set -euo pipefail
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 FOLDER KEY [VERSION]" >&2
    exit 2
fi
folder="$1"
key="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
root="$(cd "$(dirname "$0")/.." && pwd)"
version="${3:-$(sed -n 's/.*version_("\([^"]*\)").*/\1/p' "$root/app/ProgramInfo.cpp")}"
[ -d "$folder" ] || { echo "$0: $folder is no folder" >&2; exit 1; }
[ -f "$key" ] || { echo "$0: $key is no minisign secret key file" >&2; exit 1; }
[ -n "$version" ] || { echo "$0: no version" >&2; exit 1; }

cd "$folder"
if [ -n "$(find . -mindepth 1 ! -type f ! -type d -print -quit)" ]; then
    echo "$0: $folder holds links or other files that are no regular files" >&2
    exit 1
fi
manifest="$(mktemp)"
trap 'rm -f "$manifest"' EXIT
printf 'version %s\n' "$version" >"$manifest"
while IFS= read -r -d '' path; do
    path="${path#./}"
    case "$path" in
        vevo.manifest | vevo.manifest.minisig) continue ;;
    esac
    if ! [[ "$path" =~ ^[A-Za-z0-9._+-]+(/[A-Za-z0-9._+-]+)*$ ]] || [[ "$path" == *..* ]] ||
        [[ "/$path" == */-* ]]; then
        echo "$0: '$path' is not a name the program accepts" >&2
        exit 1
    fi
    hash="$(sha256sum -- "$path" | cut -d ' ' -f 1)"
    printf '%s %s %s\n' "$hash" "$(stat -c %s -- "$path")" "$path" >>"$manifest"
done < <(find . -type f -print0 | LC_ALL=C sort -z)
mv -f -- "$manifest" vevo.manifest
trap - EXIT
chmod 644 vevo.manifest
minisign -S -s "$key" -m vevo.manifest -x vevo.manifest.minisig
