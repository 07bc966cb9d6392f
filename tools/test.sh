#!/usr/bin/env bash
# Builds everything and runs every test program under Wine; exits non-zero on any failure.
# The 32-bit product is always built; the tests run on it where 32-bit Wine works, otherwise on the
# 64-bit build of the same sources. Arguments go to ctest (-R test_core, ...).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
ARCH=i686 bash "$root/tools/build.sh"
. "$root/tools/wine-env.sh"
trap wine_env_stop EXIT
if [ "$WINE_ARCH" = i686 ]; then
  build="$root/build"
else
  echo "test: this kernel runs no 32-bit programs; the tests run on the 64-bit build"
  ARCH=x86_64 bash "$root/tools/build.sh"
  build="$root/build-x86_64"
fi
ctest --test-dir "$build" --output-on-failure "$@"
