#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on Debian 12.
# Idempotent and quick when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xauth x11-utils openbox locales
  googletest libgtest-dev clang libclang-rt-14-dev
  fonts-ipafont-gothic imagemagick
  python3 fp-utils
  zip unzip
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "install-deps.sh: need root (or sudo) to run: $*" >&2
    exit 1
  fi
}

apt_install() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -q install -y --no-install-recommends "$@"
}

# The index update is retried a few times: a mirror in the middle of a sync
# serves index files of the wrong size for a minute or two. A last failure
# is not fatal, since apt keeps the lists it could read.
apt_update() {
  local try
  for try in 1 2 3 4; do
    if as_root env DEBIAN_FRONTEND=noninteractive apt-get -q update; then
      return 0
    fi
    if [ "$try" -lt 4 ]; then
      echo "install-deps.sh: package index update failed (try $try of 4); waiting 15 s" >&2
      sleep 15
    fi
  done
  echo "install-deps.sh: package index update still failing; going on with the lists apt has" >&2
  return 0
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg -s "$p" >/dev/null 2>&1; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps.sh: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  apt_update
  if ! apt_install "${missing[@]}"; then
    # A mirror part-way through a sync can leave the i386 security index
    # behind the amd64 one, so the i386 twins of installed libraries cannot
    # be matched; the release's main suite still has a consistent set.
    echo "install-deps.sh: install failed; retrying with the release's main suite (-t bookworm)" >&2
    if ! apt_install -t bookworm "${missing[@]}"; then
      echo "install-deps.sh: could not install: ${missing[*]}" >&2
      echo "install-deps.sh: the package mirror may be mid-sync; run the command again later" >&2
      exit 1
    fi
  fi
fi

# Wine converts file names and command lines through the glibc locale, so the
# locale must really exist (LC_ALL alone gives code page 932 but wrong names).
# An English one too: some tests run as on an English Windows (code page 1252).
for loc in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8\$"; then
    echo "install-deps.sh: generating the $loc.UTF-8 locale"
    as_root localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
  fi
done
