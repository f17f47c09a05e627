#!/usr/bin/env bash
# The release zip as a user meets it: packed by tools/release.sh into a
# scratch folder, unpacked into a new Wine prefix (the session's environment,
# offline), where test_package (argument 1) checks it and runs the program.
set -uo pipefail
export ZORIVEN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
work=$(mktemp -d "$ZORIVEN_ROOT/build/package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
if ! bash "$ZORIVEN_ROOT/tools/release.sh" "$work/out" >"$work/release.log" 2>&1; then
  cat "$work/release.log"
  echo "package test: FAILED: tools/release.sh made no package (see above)"
  exit 1
fi
zip=$(echo "$work"/out/zoriven-*.zip)

export WINEPREFIX="$work/prefix"
. "$ZORIVEN_ROOT/tools/wine-session.sh"
if [ "$ZORIVEN_WINARCH" != i686 ]; then
  echo "package test: skipped: the 32-bit program does not run under this Wine"
  exit 77
fi
ZORIVEN_SESSION_LOG="$work/session.log"
session_start "$ZORIVEN_TEST_BUILD/desktop_holder.exe"
started=$?
trap 'session_stop; rm -rf "$work"' EXIT # session_start set its own
[ "$started" = 0 ] || { cat "$ZORIVEN_SESSION_LOG"; exit 1; }
session_offline
unzip -q "$zip" -d "$WINEPREFIX/drive_c/Tools" || exit 1
"$ZORIVEN_WINE" "$1" "C:\\Tools\\$(basename "$zip" .zip)"
