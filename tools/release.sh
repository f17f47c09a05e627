#!/usr/bin/env bash
# Builds the release package of the 32-bit program:
#   bash tools/release.sh [output folder]        (default: build/release)
# writes <output>/zoriven-<version>.zip, the version being PRODUCT_VERSION of
# app/state.h. The zip holds one folder zoriven-<version>/ with
#   zoriven.exe   the i686 Release build of build/win32 (built when needed),
#                 without the debugging sections the static runtime brings
#   ZORIVEN.CHM   the help file, build/win32/ZORIVEN.CHM
#   readme.txt    res/readme-ja.txt in Shift_JIS (code page 932), CR LF
#   LICENSE.txt   LICENSE with CR LF
# The entries and the program's own time stamp are the time of the last
# commit, and the entries carry no extra fields: the same inputs give the
# same zip.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd -P)

fail() {
  echo "release.sh: ERROR: $*" >&2
  exit 1
}

out=${1:-build/release}
mkdir -p "$out"
out=$(cd "$out" && pwd -P)

version=$(sed -n 's/^#define PRODUCT_VERSION "\([0-9][0-9.]*\)"$/\1/p' app/state.h)
[ -n "$version" ] || fail "no PRODUCT_VERSION \"x.y\" in app/state.h"
name="zoriven-$version"

bash tools/install-deps.sh

build=build/win32
if [ ! -f "$build/build.ninja" ]; then
  bash tools/build.sh
fi
grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$build/CMakeCache.txt" \
  || fail "$build is not a Release build; remove it and run tools/build.sh"
ninja -C "$build" zoriven
# The help file has a target of its own where its sources are in the tree.
if ninja -C "$build" -t targets all | grep -q '^zoriven_help:'; then
  ninja -C "$build" zoriven_help
fi

exe="$build/zoriven.exe"
chm="$build/ZORIVEN.CHM"
[[ $(LC_ALL=C i686-w64-mingw32-objdump -f "$exe") == *"file format pei-i386"* ]] \
  || fail "$exe is not a 32-bit Windows program"
[ -f "$chm" ] || fail "$root/$chm is missing: the package needs the help file (target zoriven_help)"
[ "$(head -c 4 "$chm")" = ITSF ] || fail "$root/$chm is not a compiled help file"
if grep -q $'\r' res/readme-ja.txt LICENSE; then
  fail "res/readme-ja.txt and LICENSE keep LF line ends; CR LF is added here"
fi

epoch=$(git log -1 --format=%ct 2>/dev/null || echo 1767225600)
stage=$(mktemp -d "${TMPDIR:-/tmp}/zoriven-release.XXXXXX")
trap 'rm -rf "$stage"' EXIT
dir="$stage/$name"
mkdir "$dir"
# strip writes SOURCE_DATE_EPOCH as the program's link time.
SOURCE_DATE_EPOCH=$epoch i686-w64-mingw32-strip -o "$dir/zoriven.exe" "$exe"
cp "$chm" "$dir/ZORIVEN.CHM"
# iconv stops at the first character code page 932 has no bytes for.
if ! sed "s/@VERSION@/$version/g" res/readme-ja.txt | iconv -f UTF-8 -t CP932 \
    | LC_ALL=C sed 's/$/\r/' >"$dir/readme.txt"; then
  fail "res/readme-ja.txt does not convert to code page 932"
fi
LC_ALL=C sed 's/$/\r/' LICENSE >"$dir/LICENSE.txt"

chmod 755 "$dir"
chmod 644 "$dir"/*
touch -d "@$epoch" "$dir" "$dir"/*

zip="$out/$name.zip"
rm -f "$zip"
(cd "$stage" && TZ=UTC0 zip -X -9 -q "$zip" "$name/" "$name/zoriven.exe" "$name/ZORIVEN.CHM" \
  "$name/readme.txt" "$name/LICENSE.txt")

# Names as any Windows unpacker reads them: plain ASCII, one top folder.
while read -r entry; do
  [[ $entry =~ ^$name/([A-Za-z0-9._-]+)?$ ]] || fail "unexpected entry in the zip: $entry"
done < <(unzip -Z1 "$zip")

echo "release.sh: $zip"
unzip -l "$zip"
