#!/usr/bin/env bash
# Builds everything, stamps a demo launch trailer into a copy of the launcher, serves the demo site on
# loopback and runs the launcher under Wine; the site stops when the launcher ends.
#   run.sh [--screenshot FILE] [--seconds N]
# With a display the launcher opens on it. Without one it runs on a virtual display, inside a Wine
# desktop window that fills it (so maximising, the taskbar and the tray work); --screenshot saves a
# picture of that screen after N seconds (default 8) and then ends the launcher.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
shot=""
seconds=8
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot) shot="$2"; shift 2 ;;
    --seconds) seconds="$2"; shift 2 ;;
    *) echo "run: unknown argument $1" >&2; exit 2 ;;
  esac
done

bash "$root/tools/setup.sh"
# Whether the caller brought a display; wine-env.sh sets one up when not.
own_display="${DISPLAY:-}"
. "$root/tools/wine-env.sh"
trap wine_env_stop EXIT
# Run the build whose programs this machine's Wine can start.
ARCH="$WINE_ARCH" bash "$root/tools/build.sh"
if [ "$WINE_ARCH" = i686 ]; then build="$root/build"; else build="$root/build-$WINE_ARCH"; fi
if [ ! -f "$build/MicroClient.exe" ]; then
  echo "Built the framework, its tests and benchmarks; the launcher executable does not exist yet."
  exit 0
fi

port=8765
demo="$build/MicroClient-demo.exe"
python3 "$root/tools/stamp_trailer.py" "$build/MicroClient.exe" \
  "http://127.0.0.1:$port/login.html" "http://127.0.0.1:$port/service.html" -o "$demo"
bash "$root/tools/demo_site.sh" start "$port"
trap 'bash "$root/tools/demo_site.sh" stop "$port" || true; wine_env_stop' EXIT

# On the virtual display the launcher runs in a Wine desktop of the display's size.
launch=("$WINE" "$demo")
if [ -z "$own_display" ]; then
  size="$(xdpyinfo -display "$DISPLAY" 2>/dev/null | awk '/dimensions:/ { print $2; exit }' || true)"
  launch=("$WINE" explorer "/desktop=MicroClient,${size:-1600x1000}" "$demo")
fi

if [ -n "$shot" ]; then
  "${launch[@]}" &
  pid=$!
  sleep "$seconds"
  import -window root "$shot"
  echo "run: screenshot saved to $shot"
  # The launcher is a process of its own beside the desktop's; end it by name, then the desktop.
  "$WINE" taskkill /f /im "$(basename "$demo")" >/dev/null 2>&1 || true
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
else
  "${launch[@]}"
fi
