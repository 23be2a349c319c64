# Sourced by the checks that import scripts into a throwaway registry.
# Every Wine program runs through ruwine, with the Russian code pages: the
# scripts are Windows-1251, and Wine rewrites some values they write (font
# substitutes such as "System,0") whenever a program starts with another code
# page than the last one, so one foreign program would make a check flaky.
source "$(dirname "${BASH_SOURCE[0]}")/window_common.sh"
# These checks go on after a failure, to report every selection: no trap.
trap - ERR
set +E
cli=${KWETRO_NATIVE:-$root/build/native}/kwetro-cli
seed=${KWETRO_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
start=$SECONDS
win_cli=$windows/kwetro-cli.exe
ruwine() { env LC_ALL=ru_RU.UTF-8 wine "$@"; }

# russian_prefix NAME: work, a fresh scratch folder with the prefix in it.
russian_prefix() {
  needs "$cli"
  work=$work_root/$1-$KWETRO_WINE_ARCH
  rm -rf "$work"
  mkdir -p "$work"
  fresh_prefix "$work/prefix" ru_RU.UTF-8
  trap 'window_cleanup; rm -rf "$WINEPREFIX"' EXIT
  echo "$1 ($KWETRO_WINE_ARCH): random selections with seed $seed (KWETRO_SEED=$seed repeats them)"
}

# next_selection 1|0|random: the next selection (n counts them) in dir, named
# label, with the native kwetro-cli's scripts. The services preset stays at
# "optimal" (unchecked) so that the services section is written.
next_selection() {
  n=$((n + 1))
  dir=$work/$n
  label=$(case $1 in 1) echo "all checked" ;; 0) echo "all unchecked" ;; *) echo "random $((seed + n))" ;; esac)
  mkdir -p "$dir/windows"
  [[ -f $work/base.ini ]] || "$cli" settings --out "$work/base.ini" >/dev/null
  if [[ $1 == random ]]; then
    perl "$root/scripts/random-settings.pl" $((seed + n)) "$work/base.ini"
  else
    STATE=$1 perl -pe 'our $s; $s = $1 if /^\[(.*)\]/;
      s/^Checked=\d/"Checked=" . ($s eq "srCheckBox_1_1" ? 0 : $ENV{STATE})/e' "$work/base.ini"
  fi >"$dir/settings.ini"
  "$cli" generate --settings "$dir/settings.ini" --out "$dir" >/dev/null
}

# fail marks the run (failed) and this selection (this) as failed.
failed=0 this=0
fail() { echo "  $label: $*"; failed=1 this=1; }
finish() {
  echo "$(basename "$0" .sh): in $((SECONDS - start)) s, $([[ $failed == 0 ]] && echo "$1" || echo FAILED)"
  exit "$failed"
}
# export_to NAME: REGEDIT /E of the whole registry into $work/NAME.
export_to() { (cd "$work" && ruwine regedit /E "$1") || fail "regedit /E $1 failed"; }
# import_scripts DIR: DIR's hkcu.reg, then its hklm.reg, imported with REGEDIT /S.
import_scripts() {
  local script
  for script in hkcu.reg hklm.reg; do
    (cd "$1" && ruwine regedit /S "$script") >/dev/null 2>&1 || fail "regedit /S $1/$script failed"
  done
}

# same_export A B: two exports of the whole registry hold the same, but for
# keys Wine's services change by themselves at any moment (the number of the
# last service started, the network cards and the devices it finds).
same_export() {
  local f
  for f in "$1" "$2"; do
    iconv -f UTF-16LE -t UTF-8 "$f" | tr -d '\r' |
      perl -00 -ne 'print unless /^\[[^\]]*\\(ServiceCurrent|NetworkCards|DeviceClasses)(\\[^\]]*)?\]/' >"$f.txt"
  done
  cmp -s "$1.txt" "$2.txt"
}
