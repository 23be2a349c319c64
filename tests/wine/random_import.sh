#!/usr/bin/env bash
# Random selections through REGEDIT: 20 settings files with every option,
# drop-down list, spinner, service and the services preset at random; for each,
# the native kwetro-cli writes the scripts, Wine's REGEDIT imports them
# (/S, per-user first), and the registry must then hold exactly what they say,
# with no line of REGEDIT output but the escape notices the scripts are known
# to cause (reg_import_check.pl). The keys are read back by reg_dump.exe, one
# process for all keys of a selection. Runs in a throwaway Wine prefix.
#
# Environment (all optional; ./test sets them):
#   KWETRO_NATIVE       native build folder with kwetro-cli (or kwetro-cli itself)
#   KWETRO_WORK         scratch folder
#   KWETRO_SELECTIONS   how many selections (default 20)
#   KWETRO_SEED         seed of the random choices (default: new each run; printed)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
native=${KWETRO_NATIVE:-$root/build/native}
cli=$native
[[ -d $native ]] && cli=$native/kwetro-cli
work=${KWETRO_WORK:-$root/build/wine-checks}/random_import
count=${KWETRO_SELECTIONS:-20}
seed=${KWETRO_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
start=$SECONDS
[[ -x $cli ]] || { echo "random_import: no kwetro-cli at $cli: build the native tree first" >&2; exit 1; }
mingw=x86_64-w64-mingw32-g++-win32
command -v "$mingw" >/dev/null ||
  { echo "random_import: $mingw not found; run scripts/install-deps.sh" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
# A throwaway prefix of its own, whatever KWETRO_WINEPREFIX says: the imports
# change the registry at random (they even delete the user's TEMP), which no
# later check in a shared prefix should meet.
export WINEDEBUG=-all
export WINEPREFIX=$work/prefix
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i >/dev/null 2>&1
wineserver -p 2>/dev/null || true  # already running after wineboot: keep it
# The Russian code pages for Wine only: the scripts are Windows-1251.
ruwine() { env LC_ALL=ru_RU.UTF-8 wine "$@"; }

"$mingw" -std=c++17 -O1 -static -municode -o "$work/reg_dump.exe" "$here/reg_dump.cpp"
"$cli" settings --out "$work/base.ini" >/dev/null

# A random selection: every stored value drawn at random (out of range and
# unreadable ones included), as scripts/compare-builds.sh draws them.
randomize() { perl "$root/scripts/random-settings.pl" "$1" "$work/base.ini"; }

echo "random_import: $count selections, seed $seed (KWETRO_SEED=$seed repeats them)"
failed=0
for i in $(seq 1 "$count"); do
  dir=$work/selection-$i
  mkdir -p "$dir"
  randomize $((seed + i)) >"$dir/settings.ini"
  if ! "$cli" generate --settings "$dir/settings.ini" --out "$dir" >/dev/null; then
    echo "selection $i: kwetro-cli generate failed"
    failed=1
    continue
  fi
  imports=()
  for script in hkcu.reg hklm.reg; do
    status=0
    (cd "$dir" && ruwine regedit /S "$script") >"$dir/$script.regedit.txt" 2>&1 || status=$?
    if [[ $status -ne 0 ]]; then
      echo "selection $i: regedit /S $script exited with $status"
      failed=1
    fi
    imports+=(--import "$dir/$script=$dir/$script.regedit.txt")
  done
  # Every key the scripts name, created or deleted, read back in one go.
  tr -d '\r' <"$dir/hkcu.reg" | cat - <(tr -d '\r' <"$dir/hklm.reg") |
    sed -n 's/^\[-\{0,1\}\(HKEY_[^]]*\)\]$/\1/p' | sort -u | iconv -f CP1251 -t UTF-8 >"$dir/keys.txt"
  if ! (cd "$dir" && wine "$work/reg_dump.exe" keys.txt readback.reg); then
    echo "selection $i: reading the keys back failed"
    failed=1
    continue
  fi
  printf 'selection %2d: ' "$i"
  perl "$here/reg_import_check.pl" "${imports[@]}" --export "$dir/readback.reg" || failed=1
done

echo "random_import: $count selections in $((SECONDS - start)) s, $([[ $failed == 0 ]] && echo 'all imported and read back' || echo FAILED)"
exit "$failed"
