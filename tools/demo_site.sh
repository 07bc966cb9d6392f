#!/usr/bin/env bash
# Serves the demo game site (tools/demo-site) on 127.0.0.1:PORT in the background, or stops that server.
#   demo_site.sh start [PORT]    PORT defaults to 8765, the port of the shipped configuration
#   demo_site.sh stop [PORT]
# The server's pid and log live in ${DEMO_SITE_STATE_DIR:-/tmp}; stop ends only the server it started.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
site="$root/tools/demo-site"
action="${1:-}"
port="${2:-8765}"
if ! [[ "$port" =~ ^[0-9]+$ ]] || [ "$port" -lt 1 ] || [ "$port" -gt 65535 ]; then
  echo "demo_site: bad port '$port'" >&2
  exit 2
fi
state="${DEMO_SITE_STATE_DIR:-${TMPDIR:-/tmp}}"
pidfile="$state/microclient-demo-site-$port.pid"
log="$state/microclient-demo-site-$port.log"

# Whether pid is the http.server this script started for this port (and not a recycled pid).
is_ours() {
  [ -n "$1" ] && [ -r "/proc/$1/cmdline" ] && tr '\0' ' ' < "/proc/$1/cmdline" | grep -q -- "-m http.server $port "
}

answers() {
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null
}

case "$action" in
  start)
    if [ -f "$pidfile" ] && is_ours "$(cat "$pidfile")"; then
      echo "demo_site: already serving http://127.0.0.1:$port/ (pid $(cat "$pidfile"))"
      exit 0
    fi
    if answers; then
      echo "demo_site: port $port is taken by another program" >&2
      exit 1
    fi
    mkdir -p "$state"
    nohup python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >"$log" 2>&1 </dev/null &
    pid=$!
    echo "$pid" > "$pidfile"
    for _ in $(seq 1 50); do
      if answers; then
        echo "demo_site: serving http://127.0.0.1:$port/login.html (pid $pid)"
        exit 0
      fi
      if ! kill -0 "$pid" 2>/dev/null; then break; fi
      sleep 0.1
    done
    echo "demo_site: the server did not start; its log ($log):" >&2
    cat "$log" >&2 || true
    if kill -0 "$pid" 2>/dev/null; then kill "$pid"; fi
    rm -f "$pidfile"
    exit 1
    ;;
  stop)
    if [ -f "$pidfile" ] && is_ours "$(cat "$pidfile")"; then
      pid="$(cat "$pidfile")"
      kill "$pid"
      for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      rm -f "$pidfile"
      echo "demo_site: stopped the server on port $port"
    else
      rm -f "$pidfile"
      echo "demo_site: no demo server of ours on port $port"
    fi
    ;;
  *)
    echo "usage: $0 start|stop [PORT]" >&2
    exit 2
    ;;
esac
