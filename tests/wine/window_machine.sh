#!/usr/bin/env bash
# «Этот компьютер» of the real window against Wine's registry
# (WindowTest.ThisComputerAsTheWineCheckAsks): reading and taking change
# nothing; after an import the marks are what kwetro-cli audit says; the
# selection taken writes what capture's selection writes, and its import
# changes nothing (one computer with system restore off, its service automatic).
set -euo pipefail

source "$(dirname "$0")/registry_common.sh"
exe=$windows/tests/kwetro-window-test.exe
needs "$exe"
# The display first: Wine's session takes its display driver when it starts.
need_display
russian_prefix window_machine

n=0
# The window's check in the folder of the selection, its results in $dir/check;
# the settings file given, else the selection's.
window() {
  local settings=${1:-$dir/settings.ini}
  rm -rf "$dir/check.in" && cp "$settings" "$dir/check.in"
  rm -rf "$dir/check" && mkdir -p "$dir/check"
  mv "$dir/check.in" "$dir/check/settings.ini"
  # Every Wine program with the same code pages (winepath too): see ruwine.
  (cd "$dir" && KWETRO_MACHINE_CHECK=$(LC_ALL=ru_RU.UTF-8 winepath -w "$dir/check") ruwine "$exe" --gtest_brief=1 \
    --gtest_filter=WindowTest.ThisComputerAsTheWineCheckAsks) >"$dir/window.log" 2>&1 ||
    fail "the window's check failed: $(tail -n 5 "$dir/window.log")"
}

# The pristine prefix, once the window has started in it (Wine records its
# display's monitors in the registry when the first window program starts).
label=pristine
next_selection 1
window
export_to "$n-before.reg"
window
export_to "$n-after.reg"
same_export "$work/$n-before.reg" "$work/$n-after.reg" ||
  fail "the window's reading and taking changed the registry: $(diff "$work/$n-before.reg.txt" "$work/$n-after.reg.txt" | head -n 5)"

for choice in 1 random restore; do
  if [[ $choice == restore ]]; then
    # System restore off, its service automatic: the services from the file.
    next_selection 1
    label="restore off, its service automatic"
    "$cli" set --settings "$dir/settings.ini" --out "$dir/settings.ini" srCheckBox_1_1=yes \
      srservice=auto >/dev/null
    "$cli" generate --settings "$dir/settings.ini" --out "$dir" >/dev/null
  else
    next_selection "$choice"
  fi
  this=0
  import_scripts "$dir"
  export_to "$n-imported.reg"
  "$cli" audit --backup "$work/$n-imported.reg" --settings "$dir/settings.ini" >"$dir/audit.tsv" \
    2>"$dir/audit.err" || [[ $? -eq 3 ]] || fail "audit failed: $(cat "$dir/audit.err")"
  window
  # The marks against audit's match column, row by row.
  awk -F'\t' 'NR > 1 { print $1 "\t" $6 }' "$dir/audit.tsv" >"$dir/audit-marks.tsv"
  cmp -s <(tr -d '\r' <"$dir/check/marks.tsv") "$dir/audit-marks.tsv" ||
    fail "the window's marks are not what audit says: $(diff <(tr -d '\r' <"$dir/check/marks.tsv") "$dir/audit-marks.tsv" | head -n 5)"
  wrong=$(awk -F'\t' '$2 == "no" { print $1 }' "$dir/audit-marks.tsv" | grep -vx sComboBox_2_1 | tr '\n' ' ' || true)
  [[ -z $wrong ]] || fail "the window marks as not held: $wrong"

  # The selection taken in the window is the one capture makes of the export.
  "$cli" capture --backup "$work/$n-imported.reg" --settings "$dir/settings.ini" \
    --out "$dir/captured.ini" >/dev/null 2>"$dir/capture.err" || fail "capture failed: $(cat "$dir/capture.err")"
  mkdir -p "$dir/captured"
  "$cli" generate --settings "$dir/captured.ini" --out "$dir/captured" >/dev/null
  for script in hkcu.reg hklm.reg; do
    cmp -s "$dir/check/window/$script" "$dir/captured/$script" ||
      fail "the window's $script of the selection taken is not what capture's selection writes"
  done
  export_to "$n-window-before.reg"
  import_scripts "$dir/check/window"
  export_to "$n-window-after.reg"
  same_export "$work/$n-window-before.reg" "$work/$n-window-after.reg" ||
    fail "importing the selection taken changed the registry: $(diff "$work/$n-window-before.reg.txt" "$work/$n-window-after.reg.txt" | head -n 3)"
  # Read again (F5), the computer holds every control of the selection taken.
  window "$dir/check/window/Kwetro.ini"
  wrong=$(awk -F'\t' '$2 == "no" { print $1 }' <(tr -d '\r' <"$dir/check/marks.tsv") | grep -vx sComboBox_2_1 | tr '\n' ' ' || true)
  [[ -z $wrong ]] || fail "after the import of the selection taken, not held: $wrong"
done

finish 'every check held'
