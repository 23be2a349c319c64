# Sourced by the checks that import into a registry of their own. Wine runs in
# a throwaway prefix, WORK/prefix, removed at the end, and every Wine program
# through ruwine, with the Russian code pages (ANSI 1251, OEM 866): the scripts
# are Windows-1251, and Wine rewrites some values the scripts also write (font
# substitutes such as "System,0") whenever a program starts with another code
# page than the last one, so one foreign program would make a check flaky.
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
