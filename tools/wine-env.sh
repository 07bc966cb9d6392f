# Sourced by the build scripts: a virtual display when there is none, a Wine prefix and one persistent
# wineserver for the whole run, so each test program starts in milliseconds.
# Some kernels run no 32-bit Linux programs (ia32 emulation off), and then 32-bit Wine cannot start;
# WINE_ARCH says which Windows build the tests can run: i686 where 32-bit Wine works, else x86_64.
export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/microclient-wine}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINELOADER=/usr/lib/wine/wine64
# VENEER_WINE_ARCH=x86_64 picks the 64-bit path where both would work (to check what such kernels run).
if [ "${VENEER_WINE_ARCH:-}" != x86_64 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export WINE_ARCH=i686 WINE=/usr/lib/wine/wine
else
  export WINE_ARCH=x86_64 WINE=/usr/lib/wine/wine64
fi

# Without a display, every run on this machine shares one virtual display (VENEER_DISPLAY, :99):
# the persistent wineserver's desktop lives on it, and a run never leaves a display of its own behind.
wine_env_started_xvfb=""
wine_env_real_display="${DISPLAY:-}"
if [ -z "${DISPLAY:-}" ]; then
  n="${VENEER_DISPLAY:-99}"
  if ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    wine_env_started_xvfb=$!
    for _ in $(seq 1 100); do xdpyinfo -display ":$n" >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  export DISPLAY=":$n"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  echo "wine: creating the prefix $WINEPREFIX (once)"
  # No Mono or Gecko install prompts while the prefix is made.
  WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE" wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver64 -w || true
fi

# A server already running for this prefix (another run on this machine) is shared and left alone:
# a second "wineserver -p" on the same prefix exits with 2 and changes nothing.
wine_env_started_server=""
if /usr/lib/wine/wineserver64 -p >/dev/null 2>&1 </dev/null; then
  wine_env_started_server=1
fi

# On the virtual display there is no window manager: windows are left unmanaged, so Wine waits for no
# manager's answer and a shown window closes in milliseconds instead of about two seconds.
if [ -z "$wine_env_real_display" ]; then
  if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null || true
  fi
fi

# Message boxes show Chinese: their text and caption fonts become WenQuanYi Micro Hei (fonts-wqy-microhei),
# 12 pixels high, once per prefix (the default message font is 11 pixels high). Linking the font into
# Tahoma instead would change how Wine draws Latin text in Tahoma, the framework's default font.
if ! grep -q '^"MessageFont"=hex:f4,ff,ff,ff' "$WINEPREFIX/user.reg" 2>/dev/null; then
  for font in CaptionFont:700 MessageFont:400; do
    logfont="$(python3 -c 'import struct, sys
face = "WenQuanYi Micro Hei".encode("utf-16-le").ljust(64, b"\0")
print((struct.pack("<5l8B", -12, 0, 0, 0, int(sys.argv[1]), 0, 0, 0, 1, 0, 0, 0, 0x22) + face).hex())' "${font#*:}")"
    "$WINE" reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v "${font%:*}" /t REG_BINARY /d "$logfont" /f \
      >/dev/null 2>&1 </dev/null || true
  done
fi

wine_env_stop() {
  if [ -n "$wine_env_started_server" ]; then /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true; fi
  if [ -n "$wine_env_started_xvfb" ]; then kill "$wine_env_started_xvfb" 2>/dev/null || true; fi
}
