#!/usr/bin/env bash
# Whole-process figures of kwetro-cli on the hive files of an XP system drive
# of realistic size (bench/make_hive_image: software 20 MB, system 6 MB,
# default 1 MB, three profiles of 2 MB): apply of the all-checked selection,
# audit of it, undo --windows; wall time and peak resident memory
# (/usr/bin/time), medians over several runs. Each apply and undo starts from
# a fresh copy of the drive (the copying is not timed).
#
#   scripts/measure-hives.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR defaults to build/perf (configured with -DKWETRO_BENCH=ON and built
# here when it lacks kwetro-cli or bench/make_hive_image); RUNS defaults to 11.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/measure_common.sh"
build=${1:-$root/build/perf}
runs=${2:-11}

command -v /usr/bin/time >/dev/null || { echo "$0: /usr/bin/time is not installed" >&2; exit 1; }
if [[ ! -x $build/kwetro-cli || ! -x $build/bench/make_hive_image ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKWETRO_BENCH=ON >/dev/null
  cmake --build "$build" --target kwetro-cli make_hive_image -j2 >/dev/null
fi
cli=$build/kwetro-cli
ini=$root/tests/golden/all-checked/selection.ini

work=$(mktemp -d "${TMPDIR:-/tmp}/kwetro-hives.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/bench/make_hive_image" "$work/pristine"

# run PREPARE COMMAND...: a line per run, wall time in microseconds and peak
# resident KB, with PREPARE (a shell function) before each of the two runs.
run() {
  local prepare=$1 i start end
  shift
  for ((i = 0; i < runs; i++)); do
    $prepare
    start=$EPOCHREALTIME
    "$@" >/dev/null || true
    end=$EPOCHREALTIME
    $prepare
    /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null || true
    echo "$((${end/./} - ${start/./})) $(tail -n 1 "$work/peak")"
  done
}
fresh() { rm -rf "$work/drive" && cp -r "$work/pristine" "$work/drive" && sync; }
applied() { fresh && "$cli" apply --windows "$work/drive" --settings "$ini" >/dev/null; }
nothing() { :; }
report() {
  echo "  $1, wall time, median:     $(awk '{ print int($1 / 1000) }' "$work/times" | median) ms over $runs runs" \
       "(slowest $(awk '{ print int($1 / 1000) }' "$work/times" | sort -g | tail -1) ms)"
  echo "  $1, peak resident, median: $(awk '{ print $2 }' "$work/times" | median) KB" \
       "(largest $(awk '{ print $2 }' "$work/times" | sort -g | tail -1) KB)"
}

echo "hives: $(cd "$work/pristine" && find . -type f -size +100k -printf '%s\t%P\n' | sort -rn |
  awk -F'\t' '{ printf "%s%s %.1f MB", sep, $2, $1 / 1048576; sep = ", " }')"
run fresh "$cli" apply --windows "$work/drive" --settings "$ini" >"$work/times"
report "apply (all-checked)"
applied
run nothing "$cli" audit --windows "$work/drive" --settings "$ini" --user User1 >"$work/times"
report "audit"
run applied "$cli" undo --windows "$work/drive" >"$work/times"
report "undo --windows"
