# Sourced by the window checks (tests/wine/window_*.sh): where the programs
# are, a display, and Wine prefixes set up for the window.
#
# Environment (all optional; ./test sets them): KWETRO_WINE_ARCH (win64 or
# win32: the loader, the prefix and the Windows build, windows, of that
# architecture; scripts/wine-arch.sh), KWETRO_WIN64 and KWETRO_WIN32 (Windows
# build folders), KWETRO_WINEPREFIX (a prefix of that architecture whose
# server runs), DISPLAY, KWETRO_WORK (scratch folder).

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work_root=${KWETRO_WORK:-$root/build/wine-checks}
export WINEDEBUG=-all
source "$root/scripts/wine-arch.sh" "${KWETRO_WINE_ARCH:-win64}"
windows=$KWETRO_WINDOWS

# A command that fails without a word of its own ends a check under set -e:
# say which, so that a failure is never silent.
set -E
trap 'echo "FAILED: ${BASH_SOURCE[0]##*/}, line $LINENO: $BASH_COMMAND" >&2' ERR

own_xvfb=
own_prefix=
window_cleanup() {
  if [[ -n $own_prefix ]]; then WINEPREFIX=$own_prefix wineserver -k 2>/dev/null || true; fi
  if [[ -n $own_xvfb ]]; then kill "$own_xvfb" 2>/dev/null || true; fi
}
trap window_cleanup EXIT

fail() {
  echo "FAILED: $*"
  exit 1
}

require_file() {
  [[ -f $1 ]] || fail "$1 is missing: build the Windows tree first (./test, or cmake with cmake/mingw-x86_64.cmake or cmake/mingw-i686.cmake)"
}

# A virtual display of our own unless one is given.
need_display() {
  if [[ -z ${DISPLAY:-} ]]; then
    eval "$("$root/scripts/start-xvfb.sh")"
    own_xvfb=$KWETRO_XVFB_PID
  fi
}

# The window's fonts in the prefix (scripts/wine-fonts.sh), and no window
# manager: nobody manages windows on the virtual display, and Wine must not
# wait for one when a window closes.
install_window_fonts() {
  "$root/scripts/wine-fonts.sh" || fail "the window's fonts could not be put into $WINEPREFIX"
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# The prefix's DPI for the programs started after it: 96, or 120 (Windows
# XP's large fonts).
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
    fail "could not set the DPI of $WINEPREFIX to $1"
}

# A new prefix of our own, with its server kept running until the end.
fresh_prefix() {
  export WINEPREFIX=$1
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  own_prefix=$WINEPREFIX
  wineserver -p || fail "wineserver -p failed for $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || fail "wineboot -i failed for $WINEPREFIX"
}

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [[ $SECONDS -lt $deadline ]] || return 1
    sleep 0.5
  done
}

# The data of a value as "wine reg query" shows it, or nothing.
reg_value() {
  { wine reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
