#!/usr/bin/env bash
# Runs a benchmark under Wine and prints its figures:
#   bash tools/bench.sh [sizes...]        folder loading and order saving
#                                         (default 1000 10000 100000)
#   bash tools/bench.sh copy [sizes...]   copying an item's value
#                                         (default 1000 100000)
#   bash tools/bench.sh paste [sizes...]  pasting a text as a new item
#                                         (default 1000 100000)
#   bash tools/bench.sh hotkey [sizes...] the hot key to its menu on screen
#                                         (default 1000 100000)
# The libraries are generated in the Wine prefix's temporary folder and
# removed afterwards. Not part of the tests.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
export ZORIVEN_ROOT=$(pwd -P)

bash tools/install-deps.sh || exit 1
bash tools/build.sh >/dev/null || exit 1

. tools/wine-session.sh
session_start "$ZORIVEN_TEST_BUILD/desktop_holder.exe" || exit 1
bench=bench_folder
if [ "${1:-}" = copy ] || [ "${1:-}" = paste ] || [ "${1:-}" = hotkey ]; then
  bench=bench_$1
  shift
fi
"$ZORIVEN_WINE" "$ZORIVEN_TEST_BUILD/$bench.exe" "$@"
status=$?
session_stop
rm -rf "$ZORIVEN_ROOT"/build/wineprefix/drive_c/users/*/Temp/zoriven-bench
exit "$status"
