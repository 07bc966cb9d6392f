#!/usr/bin/env bash
# Builds everything and starts the launcher under Wine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/build.sh"
build="${BUILD_DIR:-$root/build}"
if [ ! -f "$build/MicroClient.exe" ]; then
  echo "Built the framework, its tests and benchmarks into $build."
  echo "The launcher executable does not exist yet; nothing to start."
  exit 0
fi
. "$root/tools/wine-env.sh"
trap wine_env_stop EXIT
wine "$build/MicroClient.exe"
