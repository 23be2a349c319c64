# Sourced by every Wine check: where the programs are (windows, the build of
# the architecture KWETRO_WINE_ARCH names; scripts/wine-arch.sh), a display,
# prefixes, the scratch folder work_root. The environment is what ./test
# gives every check (see its head), all of it optional.

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

# needs FILE...: each is there, else the check ends at once: build its tree
# first (./test, or cmake as it does).
needs() {
  local file
  for file; do [[ -e $file ]] || { echo "$(basename "$0" .sh): no $file: build its tree first" >&2; exit 1; }; done
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

# The prefix ./test made (KWETRO_WINEPREFIX), else a fresh one at DIR.
shared_prefix() {
  if [[ -n ${KWETRO_WINEPREFIX:-} ]]; then export WINEPREFIX=$KWETRO_WINEPREFIX; else fresh_prefix "$1"; fi
}

# fresh_prefix DIR [LOCALE]: a new prefix of our own at DIR (made with that
# locale, for its code pages), its server kept running until the end;
# what creating it said in DIR.log.
fresh_prefix() {
  export WINEPREFIX=$1 own_prefix=$1
  local locale=(${2:+LC_ALL=$2})
  rm -rf "$1"
  mkdir -p "$1"
  if ! { wineserver -p && env "${locale[@]}" wineboot -i; } >"$1.log" 2>&1; then
    cat "$1.log"
    echo "$(basename "$0" .sh): creating a Wine prefix in $1 failed" >&2
    exit 1
  fi
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
