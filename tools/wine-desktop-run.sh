#!/usr/bin/env bash
# Runs a GoogleTest program under Wine inside a Wine desktop window: "wine-desktop-run.sh WINE PROGRAM ARGS...".
# In such a desktop Wine places, maximises and minimises windows itself, as a window manager would; on a
# bare X display nothing keeps a window maximised. The desktop does not pass on the program's exit code,
# so the verdict comes from the program's XML report.
set -uo pipefail
wine="$1"
program="$2"
shift 2
size="${VENEER_DESKTOP_SIZE:-1600x1000}"
report="$(mktemp --suffix=.xml)"
trap 'rm -f "$report"' EXIT
"$wine" explorer "/desktop=VeneerTests,$size" "$("$wine" winepath -w "$program")" "$@" \
  "--gtest_output=xml:$("$wine" winepath -w "$report")"
rc=$?
if [ "$rc" -ne 0 ]; then exit "$rc"; fi
# The root element counts every failure and error of the run; a missing report means the program died.
if ! grep -q '<testsuites [^>]*failures="0"[^>]*errors="0"' "$report"; then
  echo "wine-desktop-run: $(basename "$program") failed or left no report" >&2
  exit 1
fi
