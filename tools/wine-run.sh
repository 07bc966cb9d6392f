#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest: "wine-run.sh WINE PROGRAM ARGS...".
# The program's output goes through a file, not ctest's pipe: Wine's helper processes that a program starts
# (and that outlive it) inherit its output, and on a pipe they would keep ctest waiting until its timeout.
out="$(mktemp)"
finish() { cat "$out"; rm -f "$out"; }
"$@" >"$out" 2>&1 </dev/null &
pid=$!
# Stopped by ctest (timeout): show what the program printed so far and stop it too.
trap 'kill "$pid" 2>/dev/null; finish; exit 124' TERM INT
wait "$pid"
rc=$?
finish
exit "$rc"
