#!/usr/bin/env bash
# The scripts' real consumer: REGEDIT imports what kwetro-cli writes for
# every option checked, then every option unchecked, then checked again, into
# one registry; after each import the registry must hold exactly what the
# scripts say (reg_import_check.pl). Going back and forth makes every deletion
# line delete something the previous import wrote.
#
# It uses a Wine prefix of its own in which every program runs with the
# Russian code pages (ANSI 1251, OEM 866): the scripts are read as
# Windows-1251, and Wine rewrites some values the scripts also write (font
# substitutes such as "System,0") whenever a program starts with another code
# page than the last one, so one foreign program would make the check flaky.
#
# Environment (optional; ./test sets them):
#   KWETRO_NATIVE      native build folder with kwetro-cli
#   KWETRO_WIN64       Windows build folder; its kwetro-cli.exe, when there,
#                      must write the same scripts as the native one
#   KWETRO_WORK        scratch folder for this check's files
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
native=${KWETRO_NATIVE:-$root/build/native}
work=${KWETRO_WORK:-$root/build/wine-checks}/regedit_import
cli=$native/kwetro-cli
win_cli=${KWETRO_WIN64:-$root/build/win64}/kwetro-cli.exe
[[ -x $cli ]] || { echo "no $cli: build the native tree first" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
export WINEDEBUG=-all
export WINEPREFIX=$work/prefix
ruwine() { env LC_ALL=ru_RU.UTF-8 wine "$@"; }
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
mkdir -p "$WINEPREFIX"
if ! { wineserver -p && env LC_ALL=ru_RU.UTF-8 wineboot -i; } >"$work/wineboot.log" 2>&1; then
  cat "$work/wineboot.log"
  echo "creating a Wine prefix failed" >&2
  exit 1
fi

# A settings file with every option in one state: the built-in selection's
# file with each "Checked" set. The services preset stays at "optimal"
# (unchecked) so that the services section is written.
"$cli" settings --out "$work/base.ini" >/dev/null
write_settings() {
  STATE=$1 perl -pe 'our $s; $s = $1 if /^\[(.*)\]/;
    s/^Checked=\d/"Checked=" . ($s eq "srCheckBox_1_1" ? 0 : $ENV{STATE})/e' "$work/base.ini" >"$2"
}

failed=0
stage=0
for state in 1 0 1; do
  stage=$((stage + 1))
  label=$([[ $state == 1 ]] && echo checked || echo unchecked)
  dir=$work/$stage-$label
  mkdir -p "$dir"
  write_settings "$state" "$dir/settings.ini"
  "$cli" generate --settings "$dir/settings.ini" --out "$dir" >/dev/null

  # The Windows build must write the very same bytes.
  if [[ -x $win_cli ]]; then
    mkdir -p "$dir/windows"
    if ! (cd "$dir" && ruwine "$win_cli" generate --settings settings.ini --out windows) >/dev/null; then
      echo "stage $stage ($label): kwetro-cli.exe generate failed"
      failed=1
    fi
    for script in hkcu.reg hklm.reg; do
      if ! cmp -s "$dir/$script" "$dir/windows/$script"; then
        echo "stage $stage ($label): kwetro-cli.exe wrote a different $script than kwetro-cli"
        failed=1
      fi
    done
  fi

  # In the order the program writes them and numbers its start-up commands.
  imports=()
  for script in hkcu.reg hklm.reg; do
    status=0
    (cd "$dir" && ruwine regedit /S "$script") >"$dir/$script.regedit.txt" 2>&1 || status=$?
    if [[ $status -ne 0 ]]; then
      echo "stage $stage ($label): regedit /S $script exited with $status"
      failed=1
    fi
    imports+=(--import "$dir/$script=$dir/$script.regedit.txt")
  done

  exports=()
  for key in $(perl "$here/reg_import_check.pl" --roots "$dir/hkcu.reg" "$dir/hklm.reg"); do
    (cd "$dir" && ruwine regedit /E "export-$key.reg" "$key") >/dev/null 2>&1
    exports+=(--export "$dir/export-$key.reg")
  done

  printf 'stage %d (all %s): ' "$stage" "$label"
  perl "$here/reg_import_check.pl" "${imports[@]}" "${exports[@]}" || failed=1
done

exit "$failed"
