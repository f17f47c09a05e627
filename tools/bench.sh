#!/usr/bin/env bash
# Runs a benchmark under Wine and prints its figures:
#   bash tools/bench.sh [sizes...]        folder loading and order saving
#                                         (default 1000 10000 100000)
#   bash tools/bench.sh cache [sizes...]  re-opening a folder through its
#                                         entry cache (default 1000 10000
#                                         100000)
#   bash tools/bench.sh copy [sizes...]   copying an item's value
#                                         (default 1000 100000)
#   bash tools/bench.sh paste [sizes...]  pasting a text as a new item
#                                         (default 1000 100000)
#   bash tools/bench.sh hotkey [sizes...] the hot key to its menu on screen
#                                         (default 1000 100000)
#   bash tools/bench.sh history [sizes...] recording a copy with 10 and n
#                                         entries, the history view and a
#                                         keystroke against a folder of n
#                                         (default 10000)
#   bash tools/bench.sh search [sizes...] the filter box at each keystroke
#                                         (default 100000 rows) and a search
#                                         of 100,000 items in 1,000 folders
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
if [ "${1:-}" = copy ] || [ "${1:-}" = paste ] || [ "${1:-}" = hotkey ] ||
   [ "${1:-}" = cache ] || [ "${1:-}" = search ] || [ "${1:-}" = history ]; then
  bench=bench_$1
  shift
fi
if [ "$bench" = bench_hotkey ]; then
  # Wine makes each new file in a big folder slower than the last; the
  # hot-key folders are made here, as the program finds them on disk.
  temp=$("$ZORIVEN_WINE" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
  temp=$("$ZORIVEN_WINE" winepath -u "$temp" 2>/dev/null | tr -d '\r')
  python3 - "$temp/zoriven-bench" "${@:-1000 100000}" <<'PY'
import os, sys
base = sys.argv[1]
for n in [int(a) for arg in sys.argv[2:] for a in arg.split()]:
    folder = os.path.join(base, "hot%d" % n)
    os.makedirs(folder, exist_ok=True)
    names = ["note%d.txt" % i for i in range(n)]
    for name in names:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(b"k=v\r\n")
    with open(os.path.join(folder, "ZORIVEN.ORD"), "wb") as f:
        f.write(b"".join(name.encode() + b"\r\n" for name in names))
PY
fi
# The folder and cache benchmarks' libraries, made here in seconds: the
# same names and bytes MakeLibrary (bench/benchwindow.h) would write.
if [ "$bench" = bench_folder ] || [ "$bench" = bench_cache ]; then
  temp=$(echo "$WINEPREFIX"/drive_c/users/*/Temp)
  prefix=lib
  [ "$bench" = bench_cache ] && prefix=cache
  python3 - "$temp/zoriven-bench" "$prefix" "${@:-1000 10000 100000}" <<'PY'
import os, sys
base, prefix = sys.argv[1], sys.argv[2]
memo = "\u30e1\u30e2"
for n in " ".join(sys.argv[3:]).split():
    folder = os.path.join(base, prefix + n)
    os.makedirs(folder, exist_ok=True)
    for i in range(int(n)):
        name = ("note" if i % 2 == 0 else memo) + str(i) + ".txt"
        lines = "".join("key%d=value %d %s\r\n" % (e, i, memo) for e in range(i % 5 + 1))
        with open(os.path.join(folder, name), "wb") as f:
            f.write(lines.encode("cp932"))
    open(os.path.join(folder, "ready"), "wb").close()
PY
fi
if [ "$bench" = bench_search ]; then
  # 1,000 folders of 100 items, made from outside Wine, old enough to be
  # cached at once.
  temp=$(echo "$WINEPREFIX"/drive_c/users/*/Temp)
  python3 - "$temp/zoriven-bench/library" <<'PY'
import os, sys
root = sys.argv[1]
memo = "\u30e1\u30e2"
for g in range(1000):
    folder = os.path.join(root, "g%d" % (g // 100), "f%d" % g)
    os.makedirs(folder, exist_ok=True)
    for k in range(100):
        i = g * 100 + k
        name = ("note" if i % 2 == 0 else memo) + str(i) + ".txt"
        lines = "".join("key%d=value %d %s text\r\n" % (e, i, memo) for e in range(i % 3 + 1))
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(lines.encode("cp932"))
        os.utime(path, (1600000000, 1600000000))
open(os.path.join(root, "ready"), "wb").close()
PY
fi
"$ZORIVEN_WINE" "$ZORIVEN_TEST_BUILD/$bench.exe" "$@"
status=$?
session_stop
rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/zoriven-bench
exit "$status"
