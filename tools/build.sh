#!/usr/bin/env bash
# Builds everything with ninja:
#   build/win32   the product, zoriven.exe for 32-bit Windows (i686, Release)
#   build/win64   the programs Wine runs here when only 64-bit Windows
#                 programs can run (see tools/wine-env.sh); otherwise the
#                 tests run from build/win32
#   build/native  host g++ Debug build of the byte-level code and its tests
#                 under AddressSanitizer and UndefinedBehaviorSanitizer
# Each folder is configured only when it has not been yet; ninja re-runs
# CMake by itself when a CMakeLists.txt changes.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd -P)
# Only the architecture Wine runs here is needed; the Wine locale stays out
# of the build (compiler messages in the caller's language).
winarch=$(export ZORIVEN_ROOT="$root"; . tools/wine-env.sh; echo "$ZORIVEN_WINARCH")

release_flags=(-DCMAKE_BUILD_TYPE=Release
               "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG"
               "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG")

configure() { # dir, cmake args...
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    echo "build.sh: configuring $dir"
    cmake -G Ninja -S "$root" -B "$dir" "$@"
  fi
}

configure build/win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" "${release_flags[@]}"
if [ "$winarch" = x86_64 ]; then
  # The 32-bit build is only the product here; its tests cannot run.
  echo "build.sh: building build/win32 (zoriven.exe and its help file)"
  ninja -C build/win32 zoriven zoriven_help
  configure build/win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" "${release_flags[@]}"
  echo "build.sh: building build/win64 (programs for Wine here)"
  ninja -C build/win64
else
  echo "build.sh: building build/win32"
  ninja -C build/win32
fi

configure build/native -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
echo "build.sh: building build/native"
ninja -C build/native

# The product must run on a bare Windows: it may import system DLLs only
# (a static link keeps libgcc, libstdc++ and libwinpthread inside the exe).
exe=build/win32/zoriven.exe
if ! [[ $(LC_ALL=C i686-w64-mingw32-objdump -f "$exe") == *"file format pei-i386"* ]]; then
  echo "build.sh: ERROR: $exe is not a 32-bit Windows program" >&2
  exit 1
fi
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|msvcrt|uxtheme|imm32|version|winmm|wininet|urlmon|ws2_32|wsock32|winspool\.drv|hhctrl\.ocx|mpr|rpcrt4|crypt32|secur32|userenv|psapi|dbghelp|ntdll|msimg32|setupapi)(\.dll)?$'
bad=()
while read -r dll; do
  [ -n "$dll" ] || continue
  if ! [[ ${dll,,} =~ $system_dlls ]]; then
    bad+=("$dll")
  fi
done < <(LC_ALL=C i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}')
if [ "${#bad[@]}" -gt 0 ]; then
  echo "build.sh: ERROR: $exe imports DLLs that are not part of Windows: ${bad[*]}" >&2
  echo "build.sh: (link with -static; see cmake/mingw-i686.cmake)" >&2
  exit 1
fi
echo "build.sh: $exe imports only: $(LC_ALL=C i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {printf "%s ", $3}')"
echo "build.sh: zoriven.exe (32-bit Windows) is at $root/$exe, its help file beside it"
