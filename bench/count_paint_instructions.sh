#!/usr/bin/env bash
# Instructions and cache misses of one paint of bench_paint_floor's skins by the framework, the floor and
# the floor in tree order, counted by callgrind (valgrind) under Wine: the count of a process that paints
# HIGH times less that of one that paints LOW times, so start-up drops out (callgrind's calls through
# Wine's system calls are not reliable enough to take a paint's call alone). Timings on a shared machine
# move by a third from run to run; these counts move by a few thousandths, so a small change to the
# paint path shows. Neither count is time. The misses are those of callgrind's cache model with a 1 MB
# last level: memory reads a paint makes that a cache of that size does not hold. They matter because
# the timed benchmark clears and paints other 4 MB pictures between two paints by one painter, so the
# lines of the controls a paint reads are mostly out of cache, each a trip to memory.
#   count_paint_instructions.sh [SKIN...]   (default: every skin)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
LOW=2
HIGH=12
command -v valgrind >/dev/null || { echo "count_paint_instructions: needs valgrind (apt-get install valgrind)"; exit 1; }
. "$root/tools/wine-env.sh"
ARCH="$WINE_ARCH" bash "$root/tools/build.sh" >/dev/null
if [ "$WINE_ARCH" = i686 ]; then build="$root/build"; else build="$root/build-$WINE_ARCH"; fi
bench="${BENCH_EXE:-$build/bench/bench_paint_floor.exe}"
work="$(mktemp -d)"
trap 'rm -rf "$work"; wine_env_stop' EXIT
# Start the prefix's services first, so that none of them starts under valgrind.
"$WINE" cmd /c ver > "$work/boot.txt" 2>&1

# Instructions and last-level read misses of one process that paints N times: count PAINTER N SKIN.
count() {
  local dir="$work/$RANDOM$RANDOM"
  mkdir -p "$dir"
  # Without WINELOADERNOEXEC the loader starts the program again outside valgrind.
  WINELOADERNOEXEC=1 valgrind --tool=callgrind --cache-sim=yes --LL=1048576,16,64 --callgrind-out-file=/dev/null \
    --log-file="$dir/%p.log" "$WINE" "$bench" --only "$1" "$2" "$3" > "$dir/out.txt" 2>&1 ||
    { cat "$dir/out.txt"; return 1; }
  # Wine forks helpers, which log apart: the process that paints is the one whose parent logged nothing.
  # Its events: Ir Dr Dw I1mr D1mr D1mw ILmr DLmr DLmw.
  local log
  for log in "$dir"/*.log; do
    [ -e "$dir/$(sed -n 's/.*Parent PID: \([0-9]*\).*/\1/p' "$log").log" ] && continue
    sed -n 's/.*Collected : \([0-9]*\) [0-9]* [0-9]* [0-9]* [0-9]* [0-9]* [0-9]* \([0-9]*\).*/\1 \2/p' "$log"
  done
}

# "instructions misses" per paint.
per_paint() {
  local high low
  high=($(count "$1" "$HIGH" "$2"))
  low=($(count "$1" "$LOW" "$2"))
  echo "$(( (high[0] - low[0]) / (HIGH - LOW) )) $(( (high[1] - low[1]) / (HIGH - LOW) ))"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b > 0 ? a / b : 0) }'; }

if [ $# -eq 0 ]; then set -- "full skin" "fills only" "borders only" "images only" "texts only"; fi
echo "count_paint_instructions: $WINE_ARCH build, per paint into a DIB ($HIGH - $LOW paints): instructions, and"
echo "  in brackets last-level read misses with a 1 MB last level"
for skin in "$@"; do
  fw=($(per_paint framework "$skin"))
  fl=($(per_paint floor "$skin"))
  tr=($(per_paint "tree order" "$skin"))
  printf '  %-13s framework %11d (%6d)   floor %11d (%6d)   tree order %11d (%6d)\n' \
    "$skin" "${fw[0]}" "${fw[1]}" "${fl[0]}" "${fl[1]}" "${tr[0]}" "${tr[1]}"
  printf '  %-13s framework / floor %s (%s)   framework / tree order %s (%s)\n' "" \
    "$(ratio "${fw[0]}" "${fl[0]}")" "$(ratio "${fw[1]}" "${fl[1]}")" "$(ratio "${fw[0]}" "${tr[0]}")" \
    "$(ratio "${fw[1]}" "${tr[1]}")"
done
