#!/usr/bin/env bash
# The hive writer against the REGEDIT road: kwetro-cli apply into a made-up
# XP drive and Wine's REGEDIT /S of the same scripts must agree on every key
# and value the scripts name (hive_compare.cpp, and why Wine's hex(2), hex(7)
# and Preload are set apart). The 64-bit loader: a 64-bit REGEDIT's registry.
set -euo pipefail

export KWETRO_WINE_ARCH=win64
source "$(dirname "$0")/registry_common.sh"
core=${KWETRO_NATIVE:-$root/build/native}/libkwetro_core.a
needs "$core"
command -v hivexregedit >/dev/null ||
  { echo "hive_regedit_agree: no hivexregedit; run scripts/install-deps.sh" >&2; exit 1; }

russian_prefix hive_regedit_agree
for tool in make_xp_image hive_compare; do
  g++ -std=c++17 -O1 -DKWETRO_SOURCE_DIR="\"$root\"" -I"$root" -I"$root/tests" -o "$work/$tool" "$here/$tool.cpp" "$core" \
    $(pkg-config --libs hivex)
done

n=0
for choice in 1 random; do
  next_selection "$choice"
  this=0
  import_scripts "$dir"
  export_to "$n-wine.reg"
  "$work/make_xp_image" "$dir/drive" Administrator
  "$cli" apply --windows "$dir/drive" --settings "$dir/settings.ini" >"$dir/apply.txt" 2>&1 ||
    fail "kwetro-cli apply failed: $(cat "$dir/apply.txt")"
  config=$dir/drive/Windows/System32/config
  hivexregedit --export --prefix 'HKEY_LOCAL_MACHINE\System' "$config/system" '\' >"$dir/system.reg"
  hivexregedit --export --prefix 'HKEY_LOCAL_MACHINE\Software' "$config/software" '\' >"$dir/software.reg"
  hivexregedit --export --prefix 'HKEY_USERS\.DEFAULT' "$config/default" '\' >"$dir/default.reg"
  hivexregedit --export --prefix 'HKEY_USERS\S-1-5-21-0-0-0-1000' \
    "$dir/drive/Documents and Settings/Administrator/NTUSER.DAT" '\' >"$dir/user.reg"
  if "$work/hive_compare" "$work/$n-wine.reg" "$dir/system.reg" "$dir/software.reg" \
    "$dir/default.reg" "$dir/user.reg" "$dir/hkcu.reg" "$dir/hklm.reg" >"$dir/compare.txt"; then
    printf '%-14s %s\n' "$label:" "$(tail -n 1 "$dir/compare.txt")"
  else
    fail "the hives and Wine's registry differ: $(grep -c '^differs' "$dir/compare.txt") lines"
    grep '^differs' "$dir/compare.txt" | head -n 20
  fi
done

finish 'every check held'
