# Sourced: makes wine, and every Wine command started by name (wineboot,
# winepath, regedit through wine, a CTest emulator, timeout or setsid wine),
# run one architecture's Wine loader:
#
#   source scripts/wine-arch.sh win64   # /usr/lib/wine/wine64, a 64-bit prefix
#   source scripts/wine-arch.sh win32   # /usr/lib/wine/wine, a 32-bit prefix (WINEARCH=win32), as on XP
#
# Why: with Debian's multiarch wine32:i386 installed, /usr/bin/wine (and
# wineboot, winepath, ... through wine-stable) picks the 32-bit loader even
# in a 64-bit prefix. reg and regedit then run as 32-bit programs and see the
# WOW64 view of HKEY_LOCAL_MACHINE\Software, where the values a 64-bit
# Kwetro.exe writes are not. So each check names its loader: a folder of two
# small commands, wine and wine-stable, goes first on PATH.
#
# Sets KWETRO_WINE_ARCH (win64 or win32), KWETRO_WINE_LOADER and WINEARCH.
# Sourcing it again with another architecture replaces the folder on PATH.

kwetro_wine_arch() {
  local arch=$1 loader
  case $arch in
    win64) loader=/usr/lib/wine/wine64 ;;
    win32) loader=/usr/lib/wine/wine ;;
    *) echo "wine-arch.sh: architecture $arch is neither win64 nor win32" >&2; return 2 ;;
  esac
  if [[ ! -x $loader ]]; then
    echo "wine-arch.sh: $loader is missing: install $([[ $arch == win64 ]] && echo wine64 || echo wine32:i386)" >&2
    return 1
  fi
  local bin=${TMPDIR:-/tmp}/kwetro-wine-$(id -u)/$arch
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
  export KWETRO_WINE_ARCH=$arch KWETRO_WINE_LOADER=$loader WINEARCH=$arch
}
kwetro_wine_arch "${1:-${KWETRO_WINE_ARCH:-win64}}"
