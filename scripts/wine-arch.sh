# Sourced: makes wine, and every Wine command started by name (wineboot,
# winepath, regedit through wine, a CTest emulator, timeout or setsid wine),
# run one architecture's Wine loader:
#
#   source scripts/wine-arch.sh win64   # /usr/lib/wine/wine64, a 64-bit prefix
#   source scripts/wine-arch.sh win32   # /usr/lib/wine/wine, a 32-bit prefix (WINEARCH=win32), as on XP
#   source scripts/wine-arch.sh wow64   # as win64, but our programs are the i686 build, which
#                                       # runs there under WOW64 as on 64-bit Windows
#
# Why: with Debian's multiarch wine32:i386 installed, /usr/bin/wine (and
# wineboot, winepath, ... through wine-stable) picks the 32-bit loader even
# in a 64-bit prefix. reg and regedit then run as 32-bit programs and see the
# WOW64 view of HKEY_LOCAL_MACHINE\Software, where the values a 64-bit
# Kwetro.exe writes are not. So each check names its loader: a folder of two
# small commands, wine and wine-stable, goes first on PATH.
#
# Sets KWETRO_WINE_ARCH (win64, win32 or wow64), KWETRO_WINE_LOADER and
# WINEARCH (win64 or win32); and, for the checks that run our programs and
# build helpers of their own, KWETRO_WINDOWS, the Windows build whose programs
# run (KWETRO_WIN64 or KWETRO_WIN32, else build/win64 or build/win32), and
# KWETRO_WINDOWS_CXX, the compiler of the prefix's own architecture (a helper
# stands for Windows itself, such as the logon's Active Setup, which is a
# 64-bit program on 64-bit Windows). Sourcing it again with another
# architecture replaces the folder on PATH and the build.

kwetro_wine_arch() {
  local arch=$1 loader build cxx top
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  case $arch in
    win64) loader=/usr/lib/wine/wine64 build=${KWETRO_WIN64:-$top/build/win64} cxx=x86_64-w64-mingw32-g++-win32 ;;
    win32) loader=/usr/lib/wine/wine build=${KWETRO_WIN32:-$top/build/win32} cxx=i686-w64-mingw32-g++-win32 ;;
    wow64) loader=/usr/lib/wine/wine64 build=${KWETRO_WIN32:-$top/build/win32} cxx=x86_64-w64-mingw32-g++-win32 ;;
    *) echo "wine-arch.sh: architecture $arch is none of win64, win32, wow64" >&2; return 2 ;;
  esac
  if [[ ! -x $loader ]]; then
    echo "wine-arch.sh: $loader is missing: install $([[ $arch == win32 ]] && echo wine32:i386 || echo wine64)" >&2
    return 1
  fi
  local prefix_arch=${arch/wow64/win64}
  local bin=${TMPDIR:-/tmp}/kwetro-wine-$(id -u)/$prefix_arch
  mkdir -p "$bin"
  local name
  for name in wine wine-stable; do
    if [[ ! -x $bin/$name ]] || ! grep -qxF "exec $loader \"\$@\"" "$bin/$name"; then
      printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$bin/$name.new" &&
        chmod +x "$bin/$name.new" && mv -f "$bin/$name.new" "$bin/$name"
    fi
  done
  # Drop the folder of the other architecture, if an earlier call put it there.
  local p kept=
  local IFS=:
  for p in $PATH; do
    [[ $p == */kwetro-wine-*/win64 || $p == */kwetro-wine-*/win32 ]] || kept=${kept:+$kept:}$p
  done
  export PATH=$bin:$kept
  export KWETRO_WINE_ARCH=$arch KWETRO_WINE_LOADER=$loader WINEARCH=$prefix_arch
  export KWETRO_WINDOWS=$build KWETRO_WINDOWS_CXX=$cxx
}
kwetro_wine_arch "${1:-${KWETRO_WINE_ARCH:-win64}}"
