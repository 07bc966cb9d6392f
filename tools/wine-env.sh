# Sourced by the build scripts: a virtual display when there is none, a 32-bit Wine prefix and one
# persistent wineserver for the whole run, so each test program starts in milliseconds.
export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/microclient-wine}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"

wine_env_started_xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    wine_env_started_xvfb=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  echo "wine: creating the prefix $WINEPREFIX (once)"
  # No Mono or Gecko install prompts while the prefix is made.
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
# A server already running for this prefix (another run on this machine) is shared and left alone.
wine_env_started_server=""
if ! pgrep -u "$(id -u)" -x wineserver >/dev/null 2>&1; then
  wineserver -p >/dev/null 2>&1 </dev/null || true
  wine_env_started_server=1
fi

wine_env_stop() {
  if [ -n "$wine_env_started_server" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$wine_env_started_xvfb" ]; then kill "$wine_env_started_xvfb" 2>/dev/null || true; fi
}
