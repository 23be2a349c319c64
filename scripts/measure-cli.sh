#!/usr/bin/env bash
# Whole-process figures of `kwetro-cli generate` with a full settings file:
# instructions (callgrind, deterministic), wall time and peak resident memory
# (/usr/bin/time), medians over several runs.
#
#   scripts/measure-cli.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR defaults to build/perf (configured and built here when it has no
# kwetro-cli yet); RUNS defaults to 21. The full settings file is the one
# `kwetro-cli settings` writes after loading the built-in selection with every
# option box set to Checked=1 (every services item is present in it).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/measure_common.sh"
build=${1:-$root/build/perf}
runs=${2:-21}

for tool in valgrind /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is not installed" >&2; exit 1; }
done
if [[ ! -x $build/kwetro-cli ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" --target kwetro-cli -j2 >/dev/null
fi
cli=$build/kwetro-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
full_settings "$cli" "$work"
mkdir "$work/out"
run=("$cli" generate --settings "$work/full.ini" --out "$work/out")

# Instruction counts do not depend on the machine's load; three runs show it.
for i in 1 2 3; do
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.$i" "${run[@]}" \
    2>&1 >/dev/null | sed -n 's/.*Collected : //p'
done >"$work/instructions"

time_runs "$runs" "${run[@]}" >"$work/times"

instructions=$(median <"$work/instructions")
wall=$(awk '{ print $1 }' "$work/times" | median)
rss=$(awk '{ print $2 }' "$work/times" | median)
rss_max=$(awk '{ print $2 }' "$work/times" | sort -g | tail -1)

echo "kwetro-cli generate, full settings file ($(wc -c <"$work/full.ini") bytes)"
echo "  scripts written:       $(cat "$work/out/hkcu.reg" "$work/out/hklm.reg" | wc -c) bytes"
echo "  instructions:          $instructions (callgrind; runs: $(paste -sd' ' "$work/instructions"))"
echo "  wall time, median:     ${wall} us over $runs runs"
echo "  peak resident, median: ${rss} KB (largest ${rss_max} KB)"
echo "  binary:                $(stat -c %s "$cli") bytes, $(file -b "$cli" | cut -d, -f1-2)"
if [[ ${KWETRO_CALLGRIND_TOP:-0} -gt 0 ]]; then
  callgrind_annotate --inclusive=yes "$work/callgrind.1" 2>/dev/null |
    sed -n '/file:function/,$p' | head -n "$((KWETRO_CALLGRIND_TOP + 2))" | cut -c1-160
fi
