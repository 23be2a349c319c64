#!/usr/bin/env bash
# The Windows programs we ship must load on Windows XP: subsystem version 5.01
# (5.02, XP x64, for the x86_64 build), no import that XP's system DLLs lack,
# and no DLL beside the system's own (the mingw runtime is linked in).
#
# Environment (./test sets them): KWETRO_WIN64, KWETRO_WIN32 — the Windows
# build folders; the programs are the .exe files at their top level.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
win64=${KWETRO_WIN64:-$root/build/win64}
win32=${KWETRO_WIN32:-$root/build/win32}

# What XP has and lacks: tests/wine/xp_imports.txt.
allowed=() lacks=()
while read -r kind name; do
  if [[ $kind == dll ]]; then allowed+=("$name"); elif [[ $kind == lacks ]]; then lacks+=("$name"); fi
done <"$here/xp_imports.txt"

fail=0
checked=0

# What keeps the program at hand (name) from loading on XP.
bad() { echo "$name: $*"; fail=1; }

# check_exe FILE OBJDUMP ALLOWED_MINOR_VERSIONS
check_exe() {
  local exe=$1 objdump=$2 minors=$3 dump name dll fn pattern
  name=${exe#"$root"/}
  dump=$("$objdump" -p "$exe") || { bad "$objdump cannot read it"; return; }
  local major minor
  major=$(awk '$1 == "MajorSubsystemVersion" { print $2 }' <<<"$dump")
  minor=$(awk '$1 == "MinorSubsystemVersion" { print $2 }' <<<"$dump")
  [[ $major == 5 && " $minors " == *" $minor "* ]] || bad "subsystem version $major.$minor, XP needs 5.0${minors// / or 5.0}"
  # Imports as "DLL function" pairs.
  local imports
  imports=$(awk '
    /^[A-Za-z]/ { dll = "" }   # a new part of the dump ends the import tables
    /DLL Name:/ { dll = tolower($3); print dll " -"; next }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_?@$]/ { print dll " " $3 }
  ' <<<"$dump")
  [[ -n $imports ]] || { bad "no imports found (objdump output not understood)"; return; }
  while read -r dll fn; do
    if [[ $fn == - ]]; then
      [[ " ${allowed[*]} " == *" $dll "* ]] || bad "imports $dll, which is not a Windows XP system DLL"
      continue
    fi
    for pattern in "${lacks[@]}"; do
      # shellcheck disable=SC2053  # the pattern is meant to glob
      if [[ $fn == $pattern || $fn == ${pattern}[AW] || $dll!$fn == $pattern ]]; then
        bad "imports $dll!$fn, which Windows XP lacks"
      fi
    done
  done <<<"$imports"
  checked=$((checked + 1))
}

for tree in "$win64:x86_64-w64-mingw32-objdump:1 2" "$win32:i686-w64-mingw32-objdump:1"; do
  IFS=: read -r dir objdump minors <<<"$tree"
  shopt -s nullglob
  exes=("$dir"/*.exe)
  shopt -u nullglob
  if [[ ${#exes[@]} -eq 0 ]]; then
    echo "no programs in $dir: build it first"
    fail=1
    continue
  fi
  for exe in "${exes[@]}"; do check_exe "$exe" "$objdump" "$minors"; done
done

echo "$checked programs checked for Windows XP"
exit "$fail"
