#!/usr/bin/env bash
# Shows the program with the demo library:
#   bash tools/demo.sh
# Installs what is missing, builds, copies demo/library to build/demo-library
# (a fresh copy each run; the shipped demo stays untouched) and starts
# zoriven.exe on that copy under Wine.
#  - With a working DISPLAY the program runs in the foreground until you
#    close it.
#  - Without one, it runs in an Xvfb of its own (with openbox for window
#    frames), a screenshot of its window is saved to build/screenshot.png
#    and the program is closed.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
export ZORIVEN_ROOT=$(pwd -P)

bash tools/install-deps.sh || exit 1
bash tools/build.sh || exit 1

rm -rf build/demo-library
cp -a demo/library build/demo-library

. tools/wine-session.sh
. tools/frame.sh
session_start "$ZORIVEN_TEST_BUILD/desktop_holder.exe" || exit 1

exe="$ZORIVEN_TEST_BUILD/zoriven.exe"
libdir="$ZORIVEN_ROOT/build/demo-library"
winlib=$("$ZORIVEN_WINE" winepath -w "$libdir" 2>/dev/null | tr -d '\r')
if [ -z "$winlib" ]; then
  winlib="Z:${libdir//\//\\}"
fi
log="$ZORIVEN_ROOT/build/demo.log"

# Let a window manager frame and place the program's windows.
managed() {
  "$ZORIVEN_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f \
    >>"$ZORIVEN_SESSION_LOG" 2>&1
}

if [ "$ZORIVEN_OWN_XVFB" != 1 ]; then
  echo "demo.sh: starting $exe \"$winlib\" on $DISPLAY; close its window to end"
  managed Y
  "$ZORIVEN_WINE" "$exe" "$winlib" </dev/null >"$log" 2>&1
  status=$?
  session_stop
  exit "$status"
fi

wm_pid=
if command -v openbox >/dev/null 2>&1; then
  openbox --sm-disable </dev/null >>"$ZORIVEN_SESSION_LOG" 2>&1 &
  wm_pid=$!
  managed Y
fi

echo "demo.sh: starting $exe \"$winlib\" on the virtual display $DISPLAY"
"$ZORIVEN_WINE" "$exe" "$winlib" </dev/null >"$log" 2>&1 &
app_pid=$!

up=0
for ((i = 0; i < 100; i++)); do
  if xwininfo -root -tree 2>/dev/null | grep -qi 'zoriven'; then
    up=1
    break
  fi
  if ! kill -0 "$app_pid" 2>/dev/null; then
    break
  fi
  sleep 0.2
done
status=0
if [ "$up" = 1 ]; then
  sleep 2 # let it paint
  shot="$ZORIVEN_ROOT/build/screenshot.png"
  # Cropped to the main window in its frame, as the pictures in docs/.
  crop=$(frame_of $("$ZORIVEN_WINE" "$ZORIVEN_TEST_BUILD/shot_driver.exe" client main | tr -d '\r'))
  [ -n "$crop" ] && read -r w h x y <<<"$crop" && crop="-crop ${w}x${h}+${x}+${y} +repage"
  if import -window root -display "$DISPLAY" $crop "$shot"; then
    echo "demo.sh: screenshot saved to $shot"
  else
    echo "demo.sh: ERROR: could not take the screenshot" >&2
    status=1
  fi
else
  echo "demo.sh: ERROR: no window of zoriven.exe appeared (see $log)" >&2
  status=1
fi

if [ -n "$wm_pid" ]; then
  kill "$wm_pid" 2>/dev/null
  wait "$wm_pid" 2>/dev/null
fi
session_stop # wineserver -k ends the program
wait "$app_pid" 2>/dev/null
exit "$status"
