# A Wine session for the tests and the demo. Source it from bash:
#   . tools/wine-session.sh
#   session_start path/to/desktop_holder.exe
#   ... run Windows programs ...
#   session_stop
#
# session_start
#   - starts an Xvfb when DISPLAY is unset (or names no running X server),
#   - creates the Wine prefix once (under a lock; a marker file when done),
#   - starts a persistent wineserver for the prefix,
#   - sets Wine's X11 driver to unmanaged windows (Xvfb has no window manager),
#   - starts the desktop holder so that Wine's desktop process (explorer.exe)
#     is not started by, and tied to the output pipe of, a test program.
#   It installs EXIT/INT/TERM traps that call session_stop.
# session_stop
#   - stops the wineserver of this prefix (and with it every Wine process of
#     the session) and the Xvfb that session_start started.
# Two sessions on one prefix at the same time share its wineserver: the first
# to stop ends the other's programs too.

if [ -z "${ZORIVEN_ROOT:-}" ]; then
  ZORIVEN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
fi
. "$ZORIVEN_ROOT/tools/wine-env.sh"

ZORIVEN_SESSION_LOG="$ZORIVEN_ROOT/build/wine-session.log"
ZORIVEN_XVFB_PID=
ZORIVEN_OWN_XVFB=0
ZORIVEN_SESSION_UP=0
ZORIVEN_HOLDER_PID=

_session_log() { printf '%s\n' "wine-session: $*" >>"$ZORIVEN_SESSION_LOG"; }
_session_say() { printf '%s\n' "wine-session: $*" >&2; _session_log "$*"; }

# True when DISPLAY names an X server that answers.
_session_display_ok() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

_session_start_xvfb() {
  local fdfile i
  fdfile=$(mktemp "${TMPDIR:-/tmp}/zoriven-xvfb.XXXXXX")
  # Xvfb picks a free display number and writes it to fd 3 once it is ready.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$fdfile" </dev/null >>"$ZORIVEN_SESSION_LOG" 2>&1 &
  ZORIVEN_XVFB_PID=$!
  for ((i = 0; i < 200; i++)); do
    [ -s "$fdfile" ] && break
    if ! kill -0 "$ZORIVEN_XVFB_PID" 2>/dev/null; then
      break
    fi
    sleep 0.05
  done
  if [ ! -s "$fdfile" ]; then
    rm -f "$fdfile"
    _session_say "Xvfb did not start (see $ZORIVEN_SESSION_LOG)"
    kill "$ZORIVEN_XVFB_PID" 2>/dev/null
    ZORIVEN_XVFB_PID=
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$fdfile")"
  rm -f "$fdfile"
  ZORIVEN_OWN_XVFB=1
  _session_log "Xvfb pid $ZORIVEN_XVFB_PID on $DISPLAY"
}

# Creates the prefix once. wineboot prints errors about syswow64 and
# rundll32 when only the 64-bit loader runs; they are harmless and go to the log.
_session_make_prefix() {
  local marker="$WINEPREFIX/.zoriven-prefix-ready"
  [ -f "$marker" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$marker" ]; then
      echo "wine-session: creating the Wine prefix $WINEPREFIX (once, takes a while)" >&2
      _session_log "wineboot -i in $WINEPREFIX"
      "$ZORIVEN_WINE" wineboot -i >>"$ZORIVEN_SESSION_LOG" 2>&1 || true
      # Let wineboot's helpers finish and the registry reach the disk.
      timeout 180 "$ZORIVEN_WINESERVER" -w >>"$ZORIVEN_SESSION_LOG" 2>&1 || true
      if [ -f "$WINEPREFIX/system.reg" ]; then
        touch "$marker"
      else
        echo "wine-session: wineboot failed (see $ZORIVEN_SESSION_LOG)" >&2
        exit 1
      fi
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Waits (up to about 10 s) until Wine's desktop process of this prefix runs.
_session_wait_desktop() {
  local i f
  for ((i = 0; i < 100; i++)); do
    for f in $(grep -lai "explorer\\.exe" /proc/[0-9]*/cmdline 2>/dev/null); do
      if grep -qzxF "WINEPREFIX=$WINEPREFIX" "${f%/cmdline}/environ" 2>/dev/null; then
        return 0
      fi
    done
    sleep 0.1
  done
  _session_say "Wine's desktop process did not appear; going on"
}

session_start() {
  local holder="${1:-}"
  if [ "$ZORIVEN_SESSION_UP" = 1 ]; then
    return 0
  fi
  if [ -z "$ZORIVEN_WINE" ]; then
    echo "wine-session: no Wine loader runs here" >&2
    return 1
  fi
  mkdir -p "$ZORIVEN_ROOT/build"
  : >"$ZORIVEN_SESSION_LOG"
  ZORIVEN_SESSION_UP=1
  trap 'session_stop' EXIT
  trap 'session_stop; exit 130' INT
  trap 'session_stop; exit 143' TERM

  if ! _session_display_ok; then
    if [ -n "${DISPLAY:-}" ]; then
      _session_say "DISPLAY=$DISPLAY does not answer; starting an Xvfb"
      unset DISPLAY
    fi
    _session_start_xvfb || return 1
  fi

  _session_make_prefix || return 1

  # Persistent: test programs start quickly and the desktop stays up.
  "$ZORIVEN_WINESERVER" -p >>"$ZORIVEN_SESSION_LOG" 2>&1 || true

  "$ZORIVEN_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >>"$ZORIVEN_SESSION_LOG" 2>&1 || _session_say "could not set Managed=N"

  if [ -n "$holder" ]; then
    if [ ! -f "$holder" ]; then
      echo "wine-session: no desktop holder at $holder" >&2
      return 1
    fi
    "$ZORIVEN_WINE" "$holder" </dev/null >/dev/null 2>&1 &
    ZORIVEN_HOLDER_PID=$!
    _session_wait_desktop
  fi
  _session_log "session up: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX wine=$ZORIVEN_WINE"
}

# Points the prefix's proxy at a closed loopback port (127.0.0.1 itself is
# bypassed), so that a page fetch of any other address, the program's
# start-up fetch included, ends on this machine. Tests that want to see
# such a request point the proxy at their own server for a while.
session_offline() {
  local reg="$WINEPREFIX/offline.reg"
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings]' \
    '"ProxyEnable"=dword:00000001' '"ProxyServer"="127.0.0.1:9"' \
    '"ProxyOverride"="127.0.0.1;localhost;<local>"' >"$reg"
  "$ZORIVEN_WINE" regedit /S "Z:${reg//\//\\}" >>"$ZORIVEN_SESSION_LOG" 2>&1 \
    || _session_say "could not set the loopback proxy"
}

session_stop() {
  if [ "$ZORIVEN_SESSION_UP" != 1 ]; then
    return 0
  fi
  ZORIVEN_SESSION_UP=0
  trap - EXIT INT TERM
  "$ZORIVEN_WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "$ZORIVEN_HOLDER_PID" ]; then
    wait "$ZORIVEN_HOLDER_PID" 2>/dev/null || true
    ZORIVEN_HOLDER_PID=
  fi
  if [ -n "$ZORIVEN_XVFB_PID" ]; then
    kill "$ZORIVEN_XVFB_PID" 2>/dev/null || true
    wait "$ZORIVEN_XVFB_PID" 2>/dev/null || true
    ZORIVEN_XVFB_PID=
  fi
  if [ "$ZORIVEN_OWN_XVFB" = 1 ]; then
    unset DISPLAY
    ZORIVEN_OWN_XVFB=0
  fi
}
