#!/usr/bin/env bash
# Vevo for Windows: installs what is missing, builds the Windows libraries' cache when absent
# (deps.sh: the first Qt build takes about 45 minutes on 2 cores), cross-builds the program with
# mingw-w64 into build-windows/build, gathers the portable folder build-windows/Vevo (the program,
# the DLLs it loads, Qt's Windows plugin, the pictures, the import templates and Qt's Ukrainian)
# and makes the installer build-windows/Vevo-VERSION-setup.exe from installer.nsi.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
deps="${VEVO_WINDOWS_DEPS:-$HOME/.cache/vevo-windows}"
prefix="$deps/prefix"
qt="$prefix/qt6"
out="$root/build-windows"
build="$out/build"
folder="$out/Vevo"
export VEVO_WINDOWS_PREFIX="$prefix"
# The cache's own libraries, not the Linux ones pkg-config knows.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"

"$here/setup.sh"
"$here/deps.sh" core qt

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DVEVO_BUILD_TESTS=OFF -DVEVO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target vevo --parallel "$(nproc)"

rm -rf "$folder"
mkdir -p "$folder/platforms" "$folder/imageformats" "$folder/translations"
cp "$build/vevo.exe" "$folder/"
cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$qt/plugins/imageformats/qgif.dll" "$folder/imageformats/"  # the refresh picture
cp -r "$root/images" "$root/templates" "$folder/"
cp /usr/share/qt6/translations/qtbase_uk.qm "$folder/translations/"

# Every DLL the program and its plugins load that Windows itself does not have, found where the
# cross-build took it from: Qt's, mingw's posix-thread runtime, zlib.
search=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
pending=("$folder/vevo.exe" "$folder/platforms/qwindows.dll" "$folder/imageformats/qgif.dll")
while [ ${#pending[@]} -gt 0 ]; do
    binary="${pending[0]}"
    pending=("${pending[@]:1}")
    for dll in $(imports "$binary"); do
        [ -e "$folder/$dll" ] && continue
        for dir in "${search[@]}"; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$folder/"
                pending+=("$folder/$dll")
                break
            fi
        done
    done
done

version="$(sed -n 's/.*version_("v\.\([0-9.]*\)").*/\1/p' "$root/app/ProgramInfo.cpp")"
makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DOUTFILE="$out/Vevo-$version-setup.exe" \
    "$here/installer.nsi"
echo "package: $folder and $out/Vevo-$version-setup.exe"
