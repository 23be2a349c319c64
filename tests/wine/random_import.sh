#!/usr/bin/env bash
# The scripts' real consumer: Wine's REGEDIT imports (/S, per-user first) what
# kwetro-cli writes, one selection after the other into one registry: every
# option checked, every option unchecked, checked again (so that every deletion
# line deletes something the previous import wrote), then 20 random selections
# with every stored value drawn at random (out of range and unreadable ones
# included, as scripts/compare-builds.sh draws them). After each import
# reg_dump.exe reads back every key the scripts name, in one process, and the
# registry must hold exactly what the scripts say, with no line of REGEDIT
# output (reg_import_check.pl). (That kwetro-cli.exe writes the same scripts
# as kwetro-cli: cli_same.sh, for more selections.)
set -euo pipefail

source "$(dirname "$0")/registry_common.sh"
count=${KWETRO_SELECTIONS:-20}
# The helper runs in the prefix, so it is built for the prefix's architecture.
command -v "$KWETRO_WINDOWS_CXX" >/dev/null || { echo "random_import: no $KWETRO_WINDOWS_CXX; run scripts/install-deps.sh" >&2; exit 1; }
russian_prefix random_import
"$KWETRO_WINDOWS_CXX" -std=c++17 -O1 -static -municode -I "$root" -o "$work/reg_dump.exe" "$here/reg_dump.cpp"

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
  # Every key the scripts name, created or deleted, read back in one go.
  cat "$dir/hkcu.reg" "$dir/hklm.reg" | tr -d '\r' | sed -n 's/^\[-\{0,1\}\(HKEY_[^]]*\)\]$/\1/p' |
    sort -u | iconv -f CP1251 -t UTF-16LE >"$dir/keys.txt"
  (cd "$dir" && ruwine "$work/reg_dump.exe" keys.txt readback.reg) || { fail "reading the keys back failed"; continue; }
  printf '%-17s ' "$label:"
  perl "$here/reg_import_check.pl" "${imports[@]}" --export "$dir/readback.reg" || failed=1
done

finish "$n selections, all imported and read back"
