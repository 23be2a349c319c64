#!/usr/bin/env bash
# kwetro-cli audit against Wine's registry: the pristine prefix differs from
# the all-checked selection; after each import audit finds the selection held
# (but for the keyboard layouts Wine puts back into Preload, sComboBox_2_1);
# kwetro-cli.exe audit --live prints what audit --backup prints and changes
# nothing. A user's classes key the machine lacks must not count as the
# machine's (Windows merges the two views; Wine shows the machine's alone).
set -euo pipefail

source "$(dirname "$0")/registry_common.sh"
needs "$win_cli"
russian_prefix machine_audit

# audit FILE.tsv ARGS...: the native audit, its exit status in status.
audit() {
  local tsv=$1
  shift
  status=0
  "$cli" audit "$@" >"$tsv" 2>"$tsv.err" || status=$?
}
# The rows of an audit whose match is "no".
mismatches() { awk -F'\t' 'NR > 1 && $6 == "no" { print $1 }' "$1"; }

label=pristine
n=0
next_selection 1
export_to pristine.reg
audit "$work/pristine.tsv" --backup "$work/pristine.reg" --settings "$dir/settings.ini"
differ=$(mismatches "$work/pristine.tsv" | wc -l)
[[ $status -eq 3 && $differ -gt 50 ]] ||
  fail "audit of the all-checked selection against the pristine registry: exit $status, $differ rows differ"

for choice in 1 0 random; do
  next_selection "$choice"
  this=0
  import_scripts "$dir"
  [[ $choice == 0 ]] &&
    ruwine reg add 'HKCU\Software\Classes\AllFilesystemObjects\shellex\ContextMenuHandlers\Copy To' /f >/dev/null
  export_to "$n-imported.reg"
  audit "$dir/backup.tsv" --backup "$work/$n-imported.reg" --settings "$dir/settings.ini"
  wrong=$(mismatches "$dir/backup.tsv" | grep -vx sComboBox_2_1 | tr '\n' ' ' || true)
  [[ -z $wrong ]] || fail "audit finds the machine not holding: $wrong"
  [[ $status -eq 0 || $status -eq 3 ]] || fail "audit --backup exited with $status: $(cat "$dir/backup.tsv.err")"

  # The live registry of this moment, read by the Windows build, read only.
  (cd "$dir" && ruwine "$win_cli" audit --live --settings settings.ini) >"$dir/live.tsv" 2>"$dir/live.err" ||
    [[ $? -eq 3 ]] || fail "kwetro-cli.exe audit --live failed: $(cat "$dir/live.err")"
  cmp -s <(tr -d '\r' <"$dir/live.tsv") "$dir/backup.tsv" ||
    fail "audit --live does not print what audit --backup prints: $(diff <(tr -d '\r' <"$dir/live.tsv") "$dir/backup.tsv" | head -n 3)"
  export_to "$n-after-live.reg"
  same_export "$work/$n-imported.reg" "$work/$n-after-live.reg" || fail "the registry changed under audit --live"
done

finish 'every check held'
