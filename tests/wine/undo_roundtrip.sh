#!/usr/bin/env bash
# kwetro-cli undo against Wine's REGEDIT: export, import the scripts, undo
# from the export, export again; every key and value the scripts touch must be
# as before, and the import must have changed some (undo_compare.pl).
# kwetro-cli.exe must write the same undo.reg. Then real-world files, each
# undone to the whole export as before.
set -euo pipefail

source "$(dirname "$0")/registry_common.sh"
russian_prefix undo_roundtrip

run() {
  local what=$1
  shift
  (cd "$dir" && ruwine "$@") >"$dir/$what.txt" 2>&1 || { fail "$what failed:"; cat "$dir/$what.txt"; return 1; }
}

n=0
for choice in 1 0 random random random; do
  next_selection "$choice"
  if ! { run export-before regedit /E before.reg && run import-hkcu regedit /S hkcu.reg &&
         run import-hklm regedit /S hklm.reg && run export-imported regedit /E imported.reg &&
         "$cli" undo --backup "$dir/before.reg" --out "$dir" "$dir/hkcu.reg" "$dir/hklm.reg" >/dev/null &&
         run import-undo regedit /S undo.reg && run export-after regedit /E after.reg; }; then
    fail "failed"
    continue
  fi
  if [[ -x $win_cli ]] && ! { run windows-undo "$win_cli" undo --backup before.reg --out windows hkcu.reg hklm.reg &&
                              cmp -s "$dir/undo.reg" "$dir/windows/undo.reg"; }; then
    fail "kwetro-cli.exe did not write the undo.reg kwetro-cli wrote"
  fi
  printf '%-14s ' "$label:"
  perl "$here/undo_compare.pl" --before "$dir/before.reg" --imported "$dir/imported.reg" \
    --after "$dir/after.reg" "$dir/hkcu.reg" "$dir/hklm.reg" || failed=1
done

# Shapes REGEDIT takes and Kwetro never writes (tests/undo/corpus).
for name in alws34-registry-hacks yuliskov-reset-folder-view vasudev-gm-w10-combined-selected-tweaks \
            ionuttbara-remove-shell-association zalexanninev15-desktop-command-prompt \
            w4rh4wk-enable-photo-viewer; do
  n=$((n + 1)) dir=$work/$name label=$name
  mkdir -p "$dir"
  cp "$root/tests/undo/corpus/$name.reg" "$dir/file.reg"
  if ! { run export-before regedit /E before.reg && run import regedit /S file.reg &&
         "$cli" undo --backup "$dir/before.reg" --out "$dir" "$dir/file.reg" >/dev/null 2>&1 &&
         run import-undo regedit /S undo.reg && run export-after regedit /E after.reg; }; then
    fail "failed"
  elif ! same_export "$dir/before.reg" "$dir/after.reg"; then
    fail "the registry after the undo is not as before: $(diff "$dir/before.reg.txt" "$dir/after.reg.txt" | head -n 3)"
  else
    echo "$label: undone, the whole export as before"
  fi
done

finish '5 selections and 6 real-world files, every touched key and value put back'
