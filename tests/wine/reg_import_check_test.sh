#!/usr/bin/env bash
# reg_import_check.pl must see every way an import can go wrong, or the
# REGEDIT check passes on nothing. Each case of reg_import_check_cases.txt
# changes one file of a good import (a script using every line form, REGEDIT's
# silence and the export REGEDIT makes of it, written by hand: no Wine needed)
# and expects a pass or a failure naming the fault.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each file as REGEDIT sees it, with CR LF: the script in Windows-1251, the
# output in the OEM code page, the export in UTF-16 with a byte-order mark.
declare -A good=([script]=$here/reg_import_check_script.txt [output]=/dev/null
                 [export]=$here/reg_import_check_export.txt)
declare -A encoding=([script]=CP1251 [output]=CP866 [export]=UTF-16LE)
write() {
  local part=$1 change=$2
  [[ $change != - ]] || change=
  { [[ $part != export ]] || printf '\xff\xfe'
    perl -pe "$change" "${good[$part]}" | perl -pe 's/\n/\r\n/' | iconv -f UTF-8 -t "${encoding[$part]}"
  } >"$work/$part"
}

failures=0
while IFS='|' read -r name part change want; do
  [[ -n $name && $name != '#'* ]] || continue
  name=${name% } part=${part# } part=${part% } change=${change# } change=${change% } want=${want# }
  for each in script output export; do write "$each" "$([[ $each == "$part" ]] && echo "$change" || echo -)"; done
  status=0
  result=$(perl "$here/reg_import_check.pl" --import "$work/script=$work/output" --export "$work/export" 2>&1) ||
    status=$?
  if [[ $want == pass && $status -eq 0 ]] || [[ $want != pass && $status -eq 1 && $result == *"$want"* ]]; then
    echo "ok: $name"
  else
    echo "FAILED: $name (exit $status, wanted: $want)"
    sed 's/^/    /' <<<"$result"
    failures=$((failures + 1))
  fi
done <"$here/reg_import_check_cases.txt"

exit $((failures > 0))
