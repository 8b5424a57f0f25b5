# Sourced by the scripts that run Windows programs. wine_session_start makes a
# new Wine prefix (an isolated registry and file system), starts Xvfb when
# there is no display, and keeps one wineserver alive so that each program
# starts in a fraction of a second. wine_session_stop undoes all of it.

# Starts a private Xvfb of the given size on a free display and exports
# DISPLAY; QUENFEL_XVFB_PID names it for stopping.
start_private_display() {
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  QUENFEL_XVFB_PID=$!
  local n; read -r n <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$n"
}

# wine_session_start PREFIX [DESKTOP_HOLDER_EXE]: with the holder (the
# session_desktop test program), the virtual desktop is started now and kept
# open for the whole session, and the call returns once it is up.
# QUENFEL_LOGPIXELS gives the prefix that dpi before any program of ours
# starts; QUENFEL_DESKTOP names its desktop (Default), so that a second
# session on the same display waits for its own, and QUENFEL_DESKTOP_SIZE
# sets its size (1024x768).
wine_session_start() {
  local prefix=$1 holder=${2:-} desktop=${QUENFEL_DESKTOP:-Default}
  # winemenubuilder would copy shortcuts and file types into the host desktop.
  export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  [ -n "${DISPLAY:-}" ] || start_private_display 1280x1024x24
  rm -rf "$prefix"; mkdir -p "$prefix"
  wineserver -p </dev/null >/dev/null 2>&1 &
  wineboot -i </dev/null >/dev/null 2>&1 || true
  # Every program of the session shares one virtual desktop with a taskbar and
  # a notification area, as on Windows, at a fixed size (and 96 dpi unless
  # QUENFEL_LOGPIXELS says otherwise).
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$desktop" /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$desktop" /d "${QUENFEL_DESKTOP_SIZE:-1024x768}" /f </dev/null >/dev/null 2>&1
  if [ -n "${QUENFEL_LOGPIXELS:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QUENFEL_LOGPIXELS" /f </dev/null >/dev/null 2>&1
  fi
  # The desktop process that wineboot started predates that setting: restart.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1 &
  # Start the desktop and the services now, with their output going nowhere;
  # started by a test instead, they would keep its output pipe open.
  wine reg query 'HKCU\Software\Wine\Explorer' </dev/null >/dev/null 2>&1 || true
  if [ -n "$holder" ] && [ -f "$holder" ]; then
    wine "$holder" </dev/null >/dev/null 2>&1 &
    local waited=0
    until xdotool search --name "^$desktop - Wine desktop\$" >/dev/null 2>&1; do
      sleep 0.2
      waited=$((waited + 1))
      if [ "$waited" -ge 300 ]; then
        echo "wine-session: the virtual desktop did not come up within a minute" >&2
        return 1
      fi
    done
  fi
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${QUENFEL_XVFB_PID:-}" ]; then
    kill "$QUENFEL_XVFB_PID" 2>/dev/null || true
    unset QUENFEL_XVFB_PID
  fi
}
