#!/usr/bin/env bash
# Runs a benchmark of bench.sh on an earlier revision and on this tree, in
# the same run, and prints each figure of this tree as a ratio of the
# earlier one:
#   bash tools/bench-against.sh REVISION NAME [sizes...]
# NAME is one of bench.sh's (cache, copy, paste, search, hotkey, or
# "folder"). The revision is built in a clone under build/bench-base, with
# a Wine prefix of its own. Each side runs ZORIVEN_BENCH_ROUNDS times
# (default 2), alternately, and the fastest of its figures counts, so a
# busy moment of the machine does not decide.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
[ $# -ge 2 ] || { echo "usage: $0 REVISION NAME [sizes...]" >&2; exit 2; }
revision=$1
name=$2
shift 2
[ "$name" = folder ] && name=""
here=$(pwd -P)
base="$here/build/bench-base"
if [ ! -d "$base/.git" ]; then
  git clone -q "$here" "$base" || exit 1
fi
git -C "$base" fetch -q "$here" || exit 1
git -C "$base" checkout -q "$revision" || exit 1

out=$(mktemp -d)
rounds=${ZORIVEN_BENCH_ROUNDS:-2}
for round in $(seq "$rounds"); do
  for side in before after; do
    tree=$here
    [ "$side" = before ] && tree=$base
    echo "bench-against: $side, round $round" >&2
    (cd "$tree" && bash tools/bench.sh $name "$@") >"$out/$side$round" 2>"$out/$side$round.err" ||
      { cat "$out/$side$round.err" >&2; exit 1; }
  done
done

python3 - "$out" "$rounds" <<'PY'
import re, sys
out, rounds = sys.argv[1], int(sys.argv[2])
def figures(path):
    rows = []
    for line in open(path, encoding="utf-8", errors="replace"):
        # Times in s, ms or us, as milliseconds; ratios and counts are not compared.
        scale = {"s": 1000.0, "ms": 1.0, "us": 0.001}
        found = re.findall(r"(\d+(?:\.\d+)?)\s*(ms|us|s)\b", line)
        numbers = [float(n) * scale[u] for n, u in found]
        if numbers:
            rows.append((re.sub(r"\d+(?:\.\d+)?\s*(ms|us|s)\b", "#", line.strip()), numbers))
    return rows
sides = {s: [figures(f"{out}/{s}{r}") for r in range(1, rounds + 1)] for s in ("before", "after")}
def best(runs):
    merged = []
    for rows in zip(*runs):
        label = rows[0][0]
        merged.append((label, [min(v) for v in zip(*(r[1] for r in rows))]))
    return merged
before, after = best(sides["before"]), best(sides["after"])
if len(before) != len(after):
    print("bench-against: the two sides print different figures; both outputs are in", out)
    sys.exit(1)
worst = 0.0
for (label, b), (_, a) in zip(before, after):
    cells = []
    for x, y in zip(b, a):
        ratio = y / x if x > 0 else float("nan")
        if x >= 0.001:
            worst = max(worst, ratio)
        cells.append(f"{x:.3f} -> {y:.3f} ms ({ratio:.2f}x)")
    print(f"{label}\n    " + "; ".join(cells))
print(f"worst ratio (figures of 1 us and more): {worst:.2f}x")
PY
