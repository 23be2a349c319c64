# Sourced by the checks that import scripts into a registry of their own
# (they set root, cli and work). Wine runs in a throwaway prefix, WORK/prefix,
# removed at the end, and every Wine program through ruwine, with the Russian
# code pages (ANSI 1251, OEM 866): the scripts are Windows-1251, and Wine
# rewrites some values the scripts also write (font substitutes such as
# "System,0") whenever a program starts with another code page than the last
# one, so one foreign program would make a check flaky.
export WINEDEBUG=-all
ruwine() { env LC_ALL=ru_RU.UTF-8 wine "$@"; }

# russian_prefix WORK
russian_prefix() {
  export WINEPREFIX=$1/prefix
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
  mkdir -p "$WINEPREFIX"
  if ! { wineserver -p && env LC_ALL=ru_RU.UTF-8 wineboot -i; } >"$1/wineboot.log" 2>&1; then
    cat "$1/wineboot.log"
    echo "creating a Wine prefix failed" >&2
    exit 1
  fi
}

# settings STATE SEED: the built-in settings file with every "Checked" set to
# STATE (1 or 0) but the services preset's, left at "optimal" (unchecked) so
# that the services section is written; or, for STATE "random", with every
# stored value drawn at random, out of range and unreadable ones included.
settings() {
  [[ -f $work/base.ini ]] || "$cli" settings --out "$work/base.ini" >/dev/null
  if [[ $1 == random ]]; then
    perl "$root/scripts/random-settings.pl" "$2" "$work/base.ini"
  else
    STATE=$1 perl -pe 'our $s; $s = $1 if /^\[(.*)\]/;
      s/^Checked=\d/"Checked=" . ($s eq "srCheckBox_1_1" ? 0 : $ENV{STATE})/e' "$work/base.ini"
  fi
}

# label STATE N: how the checks name the selection.
label() { case $1 in 1) echo "all checked" ;; 0) echo "all unchecked" ;; *) echo "random $((seed + $2))" ;; esac; }
