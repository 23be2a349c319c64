#!/usr/bin/env bash
# Whole-process figures of `kwetro-cli undo` and `kwetro-cli audit` on a large
# registry export: wall time and peak resident memory (/usr/bin/time), medians
# over several runs.
#
#   scripts/measure-undo.sh [BUILD_DIR] [RUNS] [MEGABYTES]
#
# BUILD_DIR defaults to build/perf (configured with -DKWETRO_BENCH=ON and
# built here when it lacks kwetro-cli or bench/make_export); RUNS defaults to
# 11, MEGABYTES to 100. The scripts are those of the all-checked selection
# (every Checked=1, as scripts/measure-cli.sh makes them), and the audit is of
# that selection; the export is bench/make_export's synthetic one, holding
# every key the scripts touch.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/measure_common.sh"
build=${1:-$root/build/perf}
runs=${2:-11}
megabytes=${3:-100}

command -v /usr/bin/time >/dev/null || { echo "$0: /usr/bin/time is not installed" >&2; exit 1; }
if [[ ! -x $build/kwetro-cli || ! -x $build/bench/make_export ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKWETRO_BENCH=ON >/dev/null
  cmake --build "$build" --target kwetro-cli make_export -j2 >/dev/null
fi
cli=$build/kwetro-cli

work=$(mktemp -d "${TMPDIR:-/tmp}/kwetro-undo.XXXXXX")
trap 'rm -rf "$work"' EXIT
full_settings "$cli" "$work"
"$cli" generate --settings "$work/full.ini" --out "$work" >/dev/null
"$build/bench/make_export" "$megabytes" "$work/backup.reg" "$work/hkcu.reg" "$work/hklm.reg"
# measure NAME COMMAND...: the figures of one command on the export.
measure() {
  local name=$1
  shift
  "$@" >/dev/null || true  # once to bring the export into the page cache
  time_runs "$runs" "$@" | awk '{ print int($1 / 1000), $2 }' >"$work/times"
  echo "  $name, wall time, median:     $(awk '{ print $1 }' "$work/times" | median) ms over $runs runs" \
       "(slowest $(awk '{ print $1 }' "$work/times" | sort -g | tail -1) ms)"
  echo "  $name, peak resident, median: $(awk '{ print $2 }' "$work/times" | median) KB" \
       "(largest $(awk '{ print $2 }' "$work/times" | sort -g | tail -1) KB)"
}

echo "synthetic export of $(stat -c %s "$work/backup.reg") bytes, all-checked selection"
measure undo "$cli" undo --backup "$work/backup.reg" --out "$work" "$work/hkcu.reg" "$work/hklm.reg"
echo "  undo.reg written: $(stat -c %s "$work/undo.reg") bytes"
measure audit "$cli" audit --backup "$work/backup.reg" --settings "$work/full.ini"
