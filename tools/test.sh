#!/usr/bin/env bash
# The project's test command (also what CI runs, through .ci/run):
#   bash tools/test.sh
# Installs what is missing, builds, starts a Wine session (Xvfb when there is
# no display, the project's own Wine prefix, a persistent wineserver, the
# desktop holder), runs the Windows tests under Wine, the native sanitizer
# tests and a 30-second fuzz run, and stops the session. Exits non-zero when
# any test failed.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
export ZORIVEN_ROOT=$(pwd -P)

bash tools/install-deps.sh || exit 1
bash tools/build.sh || exit 1

. tools/wine-session.sh
session_start "$ZORIVEN_TEST_BUILD/desktop_holder.exe" || exit 1
# Tests reach no address but 127.0.0.1.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy
session_offline

status=0
echo "test.sh: Windows tests ($ZORIVEN_WINARCH, $ZORIVEN_TEST_BUILD) under $ZORIVEN_WINE"
ctest --test-dir "$ZORIVEN_TEST_BUILD" --output-on-failure -j2 || status=1

echo "test.sh: native tests (build/native, sanitizers)"
ctest --test-dir build/native --output-on-failure -j2 || status=1

echo "test.sh: short fuzz run of the byte-level code (bash tools/fuzz.sh)"
bash tools/fuzz.sh 30 || status=1

session_stop
if [ "$status" -eq 0 ]; then
  echo "test.sh: all tests passed"
else
  echo "test.sh: SOME TESTS FAILED" >&2
fi
exit "$status"
