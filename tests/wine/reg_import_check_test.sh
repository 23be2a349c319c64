#!/usr/bin/env bash
# reg_import_check.pl must see every way an import can go wrong, or the
# REGEDIT check passes on nothing. Each case feeds it a small script, REGEDIT's
# output and an export written by hand (no Wine needed) and expects a pass or a
# failure naming the fault.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Text files as REGEDIT sees them: the script in Windows-1251, the export in
# UTF-16 with a byte-order mark, both with CR LF.
crlf() { sed 's/$/\r/'; }
script() { crlf | iconv -f UTF-8 -t CP1251 >"$work/s.reg"; }
output() { crlf | iconv -f UTF-8 -t CP866 >"$work/s.out"; }
export_() { { printf '\xff\xfe'; crlf | iconv -f UTF-8 -t UTF-16LE; } >"$work/e.reg"; }

failures=0
# expect NAME pass|"text the failure must contain"
expect() {
  local name=$1 want=$2 status=0 result
  result=$(perl "$here/reg_import_check.pl" --import "$work/s.reg=$work/s.out" \
             --export "$work/e.reg" 2>&1) || status=$?
  if [[ $want == pass && $status -eq 0 ]] ||
     [[ $want != pass && $status -eq 1 && $result == *"$want"* ]]; then
    echo "ok: $name"
  else
    echo "FAILED: $name (exit $status, wanted: $want)"
    sed 's/^/    /' <<<"$result"
    failures=$((failures + 1))
  fi
}

# A script using every line form, and the export REGEDIT makes of it.
good_script() { script <"$here/reg_import_check_script.txt"; }
good_output() { printf '' | output; }
good_export() { cat "$here/reg_import_check_export.txt"; }

good_script; good_output; good_export | export_
expect "what REGEDIT makes of every line form" pass

good_export | sed 's/=dword:000000cc/=dword:000000cd/' | export_
expect "a dword with other data" 'expected dword:000000cc, registry has dword:000000cd'

good_export | sed 's/=hex:01,02,03/=hex:01,02,04/' | export_
expect "a byte of a continued hex value" 'expected hex:01,02,03, registry has hex:01,02,04'

good_export | sed 's/=dword:000000cc/="000000cc"/' | export_
expect "a value of another type" '"Dword": expected dword:000000cc, registry has "000000cc"'

good_export | sed 's/^"Other"=.*/"gone"="x"/' | export_
expect "a deleted value still there" '"Gone": should be deleted, is "x"'

{ good_export; printf '[HKEY_LOCAL_MACHINE\\Software\\Classes\\kwclass]\n'; } | export_
expect "a deleted key still there (classes seen in the machine's Software\\Classes)" \
  'key [HKEY_CLASSES_ROOT\KwClass] still exists'

good_export | sed '/Old\\New\]/,/"x"=/d' | export_
expect "a key written after its deletion is missing" 'key [HKEY_CURRENT_USER\Software\Kw\Old\New] is missing'

good_export | sed 's/^"Exp"=hex(2):25,00,00,00,41/"Exp"=hex(2):25,00,41/' | export_
expect "hex(2) data not as Wine reads it" '"Exp": expected hex(2):25,00,00,00,41'

good_export | export_
printf 'regedit: Unable to open the registry key\n' | output
expect "REGEDIT reports an error" 'REGEDIT said: regedit: Unable to open the registry key'

good_output
sed 's/^\[HKEY_CURRENT_USER\\Software\\Kw\]$/[HKLM\\Software\\Kw]/' "$here/reg_import_check_script.txt" | script
expect "a short root name" 'REGEDIT does not accept the key [HKLM\Software\Kw]'

good_script
truncate -s -2 "$work/s.reg"
expect "a last line without CR LF" 'the last line does not end in CR LF'

exit $((failures > 0))
