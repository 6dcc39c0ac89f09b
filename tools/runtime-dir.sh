# Sourced by the scripts that start the program: set-up, build, then make run/ the working
# directory the program expects (images/ and templates/ linked in) and change into it.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh"
"$root/tools/build.sh"
mkdir -p "$root/run"
ln -sfn "$root/images" "$root/run/images"
ln -sfn "$root/templates" "$root/run/templates"
cd "$root/run"
