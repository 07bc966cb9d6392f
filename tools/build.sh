#!/usr/bin/env bash
# Configures and builds everything into ${BUILD_DIR:-build}: the 32-bit product, its tests and tools.
# With ARCH=x86_64 it builds the 64-bit twin instead (into ${BUILD_DIR:-build-x86_64}).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"
arch="${ARCH:-i686}"
if [ "$arch" = i686 ]; then build="${BUILD_DIR:-$root/build}"; else build="${BUILD_DIR:-$root/build-$arch}"; fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" >/dev/null
fi
cmake --build "$build" -j "${BUILD_JOBS:-$(nproc)}"
