# Wine environment of the project. Source it (POSIX sh or bash):
#   . tools/wine-env.sh
# It exports the variables below and never touches ~/.wine.
#
#   ZORIVEN_ROOT      the repository (set it before sourcing from plain sh,
#                     where the script cannot find its own path)
#   WINEPREFIX        <repo>/build/wineprefix unless already set
#   XDG_DATA_HOME     <repo>/build/xdg-data, holding the trash Wine's
#                     recycle bin uses
#   ZORIVEN_WINE      the Wine loader that runs on this machine
#   ZORIVEN_WINARCH   i686 or x86_64: the Windows architecture that loader runs
#   ZORIVEN_WINESERVER the wineserver of that Wine
#   ZORIVEN_TEST_BUILD build folder whose programs Wine runs here
#                     (build/win32 for i686, build/win64 for x86_64)
#
# Debian's 32-bit loader (/usr/lib/wine/wine) is a 32-bit ELF program. On a
# kernel without 32-bit emulation it cannot start ("Exec format error"), and
# only 64-bit Windows programs can run, through /usr/lib/wine/wine64. The
# probe runs once; the result is kept in the environment for child processes
# (ctest, the emulator wrapper).

if [ -z "${ZORIVEN_ROOT:-}" ]; then
    if [ -n "${BASH_SOURCE:-}" ]; then
        ZORIVEN_ROOT=$(cd "$(dirname "${BASH_SOURCE}")/.." && pwd -P)
    else
        ZORIVEN_ROOT=$(pwd -P)
    fi
fi
export ZORIVEN_ROOT

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A Japanese Windows unless a run asks for another (ZORIVEN_LOCALE, for
# the tests of a Japanese library on an English Windows).
export LC_ALL="${ZORIVEN_LOCALE:-ja_JP.UTF-8}"
export LANG="$LC_ALL"
export WINEPREFIX="${WINEPREFIX:-$ZORIVEN_ROOT/build/wineprefix}"
# Wine's recycle bin is the desktop trash, and only one that exists: the
# project's own keeps deleted test items out of the user's.
export XDG_DATA_HOME="$ZORIVEN_ROOT/build/xdg-data"
mkdir -p "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info" 2>/dev/null || true

if [ -z "${ZORIVEN_WINE:-}" ] || [ -z "${ZORIVEN_WINARCH:-}" ]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        ZORIVEN_WINE=/usr/lib/wine/wine
        ZORIVEN_WINARCH=i686
    elif /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
        ZORIVEN_WINE=/usr/lib/wine/wine64
        ZORIVEN_WINARCH=x86_64
    else
        echo "wine-env.sh: neither /usr/lib/wine/wine nor /usr/lib/wine/wine64 runs here;" \
             "run tools/install-deps.sh" >&2
        ZORIVEN_WINE=
        ZORIVEN_WINARCH=
    fi
fi
export ZORIVEN_WINE ZORIVEN_WINARCH
if [ "$ZORIVEN_WINE" = /usr/lib/wine/wine64 ]; then
    # Debian's wine64 looks for its helper programs through WINELOADER.
    export WINELOADER=/usr/lib/wine/wine64
fi

if [ -z "${ZORIVEN_WINESERVER:-}" ]; then
    if [ -x /usr/lib/wine/wineserver ]; then
        ZORIVEN_WINESERVER=/usr/lib/wine/wineserver
    else
        ZORIVEN_WINESERVER=$(command -v wineserver || true)
    fi
fi
export ZORIVEN_WINESERVER

if [ "$ZORIVEN_WINARCH" = x86_64 ]; then
    ZORIVEN_TEST_BUILD="$ZORIVEN_ROOT/build/win64"
else
    ZORIVEN_TEST_BUILD="$ZORIVEN_ROOT/build/win32"
fi
export ZORIVEN_TEST_BUILD
