#!/usr/bin/env bash
# Builds the Windows libraries Vevo links, from Debian's own source packages, into a cache
# outside the tree ($VEVO_WINDOWS_DEPS, default ~/.cache/vevo-windows), each once: a library
# already in the cache is kept. Arguments name the libraries (default: all of them):
#   core   SQLite 3, libsodium, libxlsxwriter, SimpleIni's header, GoogleTest, Google Benchmark
#          (a few minutes)
#   qt     Qt 6 Core, Gui and Widgets with the Windows platform plugin (about 45 minutes)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
deps="${VEVO_WINDOWS_DEPS:-$HOME/.cache/vevo-windows}"
prefix="$deps/prefix"
sources="$deps/sources"
jobs="$(nproc)"
host=x86_64-w64-mingw32
export VEVO_WINDOWS_PREFIX="$prefix"
mkdir -p "$prefix" "$sources"

"$here/setup.sh"

# Unpacks a Debian source package into $sources/NAME once; prints its folder.
unpack() {
    local name="$1" dir="$sources/$1"
    if [ ! -d "$dir" ]; then
        local scratch
        scratch="$(mktemp -d "$sources/.fetch-XXXXXX")"
        (cd "$scratch" && apt-get source -qq "$name" >/dev/null 2>&1)
        mv "$(find "$scratch" -mindepth 1 -maxdepth 1 -type d | head -n 1)" "$dir"
        rm -rf "$scratch"
    fi
    echo "$dir"
}

# A library counts as built once its stamp is there; a run cut short builds it again.
built() { [ -f "$deps/stamps/$1" ]; }
stamp() { mkdir -p "$deps/stamps"; touch "$deps/stamps/$1"; }

build_sqlite() {
    built sqlite && return
    local src; src="$(unpack sqlite3)"
    local out="$deps/build/sqlite"
    mkdir -p "$out" "$prefix/include" "$prefix/lib"
    # The amalgamation is made on the host (it needs tclsh), then compiled for Windows.
    (cd "$out" && [ -f sqlite3.c ] || ("$src/configure" >/dev/null && make -s sqlite3.c >/dev/null))
    $host-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_FTS5=0 -c "$out/sqlite3.c" -o "$out/sqlite3.o"
    $host-ar rcs "$prefix/lib/libsqlite3.a" "$out/sqlite3.o"
    cp "$out/sqlite3.h" "$out/sqlite3ext.h" "$prefix/include/"
    stamp sqlite
}

build_sodium() {
    built sodium && return
    local src; src="$(unpack libsodium)"
    local out="$deps/build/sodium"
    mkdir -p "$out"
    # Debian's source leaves the configure script to be generated.
    [ -x "$src/configure" ] || (cd "$src" && autoreconf -fi >/dev/null 2>&1)
    (cd "$out" && "$src/configure" --host=$host --prefix="$prefix" --disable-shared --enable-static \
        --disable-dependency-tracking CC=$host-gcc-posix >/dev/null && make -s -j"$jobs" >/dev/null \
        && make -s install >/dev/null)
    stamp sodium
}

cmake_cross() {
    local src="$1" out="$2"; shift 2
    cmake -S "$src" -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
    cmake --build "$out" --parallel "$jobs" >/dev/null
    cmake --install "$out" >/dev/null
}

build_xlsxwriter() {
    built xlsxwriter && return
    local src; src="$(unpack libxlsxwriter)"
    cmake_cross "$src" "$deps/build/xlsxwriter" -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF \
        -DUSE_SYSTEM_MINIZIP=OFF -DZLIB_ROOT=/usr/$host
    stamp xlsxwriter
}

build_simpleini() {
    built simpleini && return
    mkdir -p "$prefix/include"
    cp /usr/include/SimpleIni.h "$prefix/include/"
    [ -f /usr/include/ConvertUTF.h ] && cp /usr/include/ConvertUTF.h "$prefix/include/"
    stamp simpleini
}

build_googletest() {
    built googletest && return
    cmake_cross /usr/src/googletest "$deps/build/googletest" -Dgtest_disable_pthreads=OFF
    stamp googletest
}

build_benchmark() {
    built benchmark && return
    local src; src="$(unpack benchmark)"
    # Debian's source asks git for its version, which it has not; 0.0.0 lets the project's stand.
    cmake_cross "$src" "$deps/build/benchmark" -DGIT_VERSION=0.0.0 -DBENCHMARK_ENABLE_TESTING=OFF \
        -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF
    stamp benchmark
}

build_qt() {
    built qt && return
    local src; src="$(unpack qt6-base)"
    # Only what the program uses; tablets need wintab.h, which Debian's source leaves out.
    cmake -S "$src" -B "$deps/build/qt" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_INSTALL_PREFIX="$prefix/qt6" -DCMAKE_BUILD_TYPE=Release \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_tabletevent=OFF >/dev/null
    cmake --build "$deps/build/qt" --parallel "$jobs"
    cmake --install "$deps/build/qt" >/dev/null
    stamp qt
}

[ $# -gt 0 ] || set -- core qt
for what in "$@"; do
    case "$what" in
        core) build_sqlite; build_sodium; build_xlsxwriter; build_simpleini; build_googletest
              build_benchmark ;;
        qt) build_qt ;;
        *) echo "deps.sh: unknown library set '$what' (core, qt)" >&2; exit 2 ;;
    esac
done
