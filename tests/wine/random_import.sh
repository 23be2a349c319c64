#!/usr/bin/env bash
# The scripts' real consumer: Wine's REGEDIT imports (/S, per-user first) what
# kwetro-cli writes, one selection after the other into one registry: every
# option checked, every option unchecked, checked again (so that every deletion
# line deletes something the previous import wrote), then 20 random selections
# with every stored value drawn at random (out of range and unreadable ones
# included, as scripts/compare-builds.sh draws them). After each import the
# export of the registry must hold exactly what the scripts say, with no line
# of REGEDIT output (reg_import_check.pl).
set -euo pipefail

source "$(dirname "$0")/registry_common.sh"
count=${KWETRO_SELECTIONS:-20}
russian_prefix random_import

n=0
states=(1 0 1)
for ((i = 0; i < count; i++)); do states+=(random); done
for state in "${states[@]}"; do
  next_selection "$state" || { fail "kwetro-cli generate failed"; continue; }
  imports=()
  for script in hkcu.reg hklm.reg; do
    (cd "$dir" && ruwine regedit /S "$script") >"$dir/$script.regedit.txt" 2>&1 || fail "regedit /S $script exited with $?"
    imports+=(--import "$dir/$script=$dir/$script.regedit.txt")
  done
  export_to "$n.reg"
  printf '%-17s ' "$label:"
  perl "$here/reg_import_check.pl" "${imports[@]}" --export "$work/$n.reg" || failed=1
done

finish "$n selections, all imported and read back"
