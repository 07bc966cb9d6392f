#!/usr/bin/env bash
# Configures and builds everything into ${BUILD_DIR:-build}: the 32-bit product, its tests and tools.
# With ARCH=x86_64 it builds the 64-bit twin instead (into ${BUILD_DIR:-build-x86_64}).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"
arch="${ARCH:-i686}"
if [ "$arch" = i686 ]; then build="${BUILD_DIR:-$root/build}"; else build="${BUILD_DIR:-$root/build-$arch}"; fi
# Where ccache is installed, checkouts of the same sources share compiled objects.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j "${BUILD_JOBS:-$(nproc)}"
