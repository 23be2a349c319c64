#!/usr/bin/env bash
# ./run twice with an Apply in between (the window's in bytes, as kwetro-cli
# writes it): each time the folder holds the files of the selection the window
# opens with, and ./run says which.
set -euo pipefail
source "$(dirname "$0")/window_common.sh"

cli=${KWETRO_NATIVE:-$root/build/native}/kwetro-cli
needs "$cli"
work=$work_root/run_twice
rm -rf "$work"
mkdir -p "$work/out"
out=$work/out

run() { env -u DISPLAY KWETRO_OUT="$out" "$root/run"; }
# expect_folder SETTINGS LISTING: exactly these files, the scripts of SETTINGS.
expect_folder() {
  local settings=$1 listing=$2
  [[ $(cd "$out" && LC_ALL=C ls | tr '\n' ' ') == "$listing " ]] ||
    fail "out/ holds $(cd "$out" && LC_ALL=C ls | tr '\n' ' '), not $listing"
  rm -rf "$work/expected"
  mkdir -p "$work/expected"
  "$cli" generate ${settings:+--settings "$settings"} --out "$work/expected" >/dev/null
  for file in hkcu.reg hklm.reg user.reg; do
    [[ -f $work/expected/$file ]] || continue
    cmp -s "$work/expected/$file" "$out/$file" || fail "$file is not the one of ${settings:-the built-in selection}"
  done
}

# A user.reg of some earlier selection: the built-in one writes none.
echo stale >"$out/user.reg"
said=$(run)
[[ $said == *"The selection: the built-in one"* ]] || fail "./run did not name the built-in selection: $said"
expect_folder "" "hkcu.reg hklm.reg"

# An Apply for every user, then ./run: the window's selection and all its files.
"$cli" set --out "$out/Kwetro.ini" dCheckBox_1_1=yes sCheckBox_1_2=yes sComboBox_5_1=0 >/dev/null
"$cli" generate --settings "$out/Kwetro.ini" --out "$out" >/dev/null
said=$(run)
[[ $said == *"The selection: "*"/Kwetro.ini"* ]] || fail "./run did not name the settings file: $said"
expect_folder "$out/Kwetro.ini" "Kwetro.ini activesetup.reg hkcu.reg hklm.reg profiles.reg user.reg"

# An Apply for the current user alone: ./run leaves no file of the one before.
"$cli" set --settings "$out/Kwetro.ini" --out "$out/Kwetro.ini" dCheckBox_1_1=no >/dev/null
"$cli" generate --settings "$out/Kwetro.ini" --out "$out" >/dev/null
run >/dev/null
expect_folder "$out/Kwetro.ini" "Kwetro.ini hkcu.reg hklm.reg"
echo "./run twice: the files of the window's selection, and only those"
