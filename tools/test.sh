#!/usr/bin/env bash
# Builds everything and runs every test program under Wine; exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/build.sh"
build="${BUILD_DIR:-$root/build}"
. "$root/tools/wine-env.sh"
trap wine_env_stop EXIT
ctest --test-dir "$build" --output-on-failure "$@"
