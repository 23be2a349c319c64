#!/usr/bin/env bash
# How many of the real-world registry files of tests/undo/corpus `kwetro-cli
# undo` takes as scripts, against a backup that holds every root (so that
# only the scripts themselves can be refused), and the lines it passes over.
#
#   scripts/measure-corpus.sh [KWETRO_CLI]
#
# KWETRO_CLI defaults to build/native/kwetro-cli. Prints a line per refused
# file and the totals.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/native/kwetro-cli}
work=$(mktemp -d "${TMPDIR:-/tmp}/kwetro-corpus.XXXXXX")
trap 'rm -rf "$work"' EXIT
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes]\r\n\r\n[HKEY_USERS]\r\n\r\n[HKEY_USERS\\S-1-5-21-0-0-0-1000]\r\n\r\n[HKEY_CURRENT_CONFIG]\r\n\r\n' >"$work/backup.reg"

files=0 refused=0 warned=0 warnings=0
for file in "$root"/tests/undo/corpus/*.reg; do
  files=$((files + 1))
  if "$cli" undo --backup "$work/backup.reg" --out "$work" "$file" >/dev/null 2>"$work/err"; then
    lines=$(grep -c ': warning: ' "$work/err" || true)
    [[ $lines -gt 0 ]] && warned=$((warned + 1)) && warnings=$((warnings + lines))
  else
    refused=$((refused + 1))
    echo "refused: $(head -n 1 "$work/err")"
  fi
done
echo "$files files: $((files - refused)) taken ($((100 * (files - refused) / files)) %), $refused refused;" \
  "$warned with lines passed over as REGEDIT passes them ($warnings lines)"
