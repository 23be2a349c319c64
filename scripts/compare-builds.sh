#!/usr/bin/env bash
# Compares the files two builds of kwetro-cli write: for COUNT random
# selections, hkcu.reg and hklm.reg of `generate`, and the settings file of
# `settings`, both into a new file and merged into the random file itself.
# Every output must be byte for byte the same.
#
#   scripts/compare-builds.sh REV [COUNT]          # kwetro-cli of git revision REV
#                                                  # against the working tree's
#   scripts/compare-builds.sh OLD_CLI NEW_CLI [COUNT]
#
# COUNT defaults to 500. The random settings files start from the settings
# file the old build writes for its built-in selection (so they name every
# control and service it knows), then change every state, index and value at
# random, with values out of range, hexadecimal and unreadable ones, letter
# case, blanks, duplicated and foreign sections and missing ones.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=$root/build/compare
mkdir -p "$work"

build_cli() {  # build_cli SOURCE_DIR BUILD_DIR
  cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DKWETRO_TESTS=OFF >/dev/null
  cmake --build "$2" -j "${KWETRO_JOBS:-2}" --target kwetro-cli >/dev/null
}

if [[ $# -ge 2 && -x $1 && -x $2 ]]; then
  old=$1 new=$2 count=${3:-500}
else
  rev=${1:?usage: $0 REV [COUNT] | $0 OLD_CLI NEW_CLI [COUNT]} count=${2:-500}
  tree=$work/tree-$rev
  [[ -d $tree ]] || git worktree add --detach "$tree" "$rev" >/dev/null
  build_cli "$tree" "$work/build-$rev"
  build_cli "$root" "$work/build-new"
  old=$work/build-$rev/kwetro-cli new=$work/build-new/kwetro-cli
fi

rm -rf "$work/run" && mkdir -p "$work/run"
cd "$work/run"
"$old" settings --out base.ini >/dev/null

for ((i = 0; i < count; i++)); do
  perl "$root/scripts/random-settings.pl" "$i" base.ini >"sel$i.ini"
  for which in old new; do
    cli=$old; [[ $which == new ]] && cli=$new
    mkdir -p "$which"
    "$cli" generate --settings "sel$i.ini" --out "$which" >/dev/null
    rm -f "$which/fresh.ini"  # written anew, not merged into the last round's
    "$cli" settings --settings "sel$i.ini" --out "$which/fresh.ini" >/dev/null
    cp "sel$i.ini" "$which/merged.ini"
    "$cli" settings --settings "sel$i.ini" --out "$which/merged.ini" >/dev/null
  done
  for f in hkcu.reg hklm.reg fresh.ini merged.ini; do
    if ! cmp -s "old/$f" "new/$f"; then
      echo "selection $i ($work/run/sel$i.ini): $f differs" >&2
      exit 1
    fi
  done
  rm -f "sel$i.ini"
done
echo "$count random selections: hkcu.reg, hklm.reg and settings files identical"
