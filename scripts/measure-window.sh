#!/usr/bin/env bash
# Window figures of Kwetro.exe under Wine and Xvfb, against the minimal Win32
# window program (bench/minimal_window.cpp) built with the same toolchain:
#
#   - start-up: time from starting the process until its main window is
#     mapped on the X server, median of RUNS alternating runs of each program,
#     and the ratio of the two medians;
#   - or, with YARDSTICK minimal_common_controls, the same against the minimal
#     window that also loads the visual-style common controls and shows a tab
#     strip: what is left is Kwetro's own work;
#   - resident memory of each idle window once Kwetro's working-set timer has
#     fired (VmRSS of the Wine process);
#   - size of both exes, and the DLLs Kwetro.exe imports (static: no mingw DLL).
#
#   scripts/measure-window.sh [WIN_BUILD_DIR] [RUNS] [YARDSTICK]
#
# WIN_BUILD_DIR defaults to build/perf-win64 (configured with the x86_64 mingw
# toolchain and built here when the exes are missing); RUNS defaults to 21;
# YARDSTICK to minimal_window.
# Uses its own X display (KWETRO_MEASURE_DISPLAY, default 63) and Wine prefix
# (KWETRO_MEASURE_PREFIX, default /tmp/kwetro-measure-wine).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/measure_common.sh"
build=${1:-$root/build/perf-win64}
runs=${2:-21}
yardstick=${3:-minimal_window}
display=${KWETRO_MEASURE_DISPLAY:-63}
export WINEPREFIX=${KWETRO_MEASURE_PREFIX:-/tmp/kwetro-measure-wine}
export WINEDEBUG=-all DISPLAY=:$display
source "$root/scripts/wine-arch.sh" win64

for tool in Xvfb wine wineserver xev xwininfo stdbuf x86_64-w64-mingw32-objdump; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is not installed" >&2; exit 1; }
done
if [[ ! -f $build/Kwetro.exe || ! -f $build/bench/$yardstick.exe ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKWETRO_TESTS=OFF -DKWETRO_BENCH=ON >/dev/null
  cmake --build "$build" --target Kwetro "$yardstick" -j2 >/dev/null
fi

work=$(mktemp -d)
pids=()
cleanup() {
  exec 9>&- 8<&- 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true  # the server of this prefix only
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
[[ -d $WINEPREFIX ]] || wineboot -i >/dev/null 2>&1
wineserver -p
# A console program that waits on a pipe keeps Wine's desktop process alive
# between the runs, so that no run pays for starting it again.
mkfifo "$work/keep"
setsid wine cmd.exe <"$work/keep" >/dev/null 2>&1 &
pids+=($!)
exec 9>"$work/keep"

# Each program runs from a folder of its own: Kwetro.exe finds no settings
# file there and shows the built-in selection.
mkdir "$work/Kwetro" "$work/minimal"
cp "$build/Kwetro.exe" "$work/Kwetro/"
cp "$build/bench/$yardstick.exe" "$work/minimal/"

# The moment each top-level window (not an override-redirect one such as a
# tooltip) is mapped on the X server, one line per window, read from a FIFO:
# waiting on it costs the machine nothing while the programs start.
mkfifo "$work/maps"
stdbuf -oL xev -root -event substructure 2>/dev/null |
  while IFS= read -r line; do
    case $line in
      MapNotify*) mapped=$EPOCHREALTIME ;;
      *"override NO"*) [[ -n $mapped ]] && echo "$mapped"; mapped= ;;
      *) mapped= ;;
    esac
  done >"$work/maps" &
pids+=($!)
exec 8<>"$work/maps"
sleep 1

# Starts the exe, prints the seconds until its first top-level window is
# mapped, leaves its PID in $running.
running=
start_and_time() {
  local exe=$1 t0 t1=
  while read -r -t 0.05 -u 8 _; do :; done  # windows of earlier runs
  t0=$EPOCHREALTIME
  setsid wine "$exe" >/dev/null 2>&1 &
  running=$!
  read -r -t 30 -u 8 t1 || { echo "$0: $exe showed no window" >&2; exit 1; }
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f\n", b - a }'
}

stop() {
  kill -- "-$running" 2>/dev/null || kill "$running" 2>/dev/null || true
  wait "$running" 2>/dev/null || true
  sleep 0.5
}

for ((i = 0; i < runs; i++)); do
  # Alternating, and each pair in turn started first, so that neither program
  # always meets the machine in the same state.
  if ((i % 2 == 0)); then order=(minimal Kwetro); else order=(Kwetro minimal); fi
  for which in "${order[@]}"; do
    if [[ $which == minimal ]]; then exe=$work/minimal/$yardstick.exe; else exe=$work/Kwetro/Kwetro.exe; fi
    start_and_time "$exe" >>"$work/start.$which"
    stop
  done
done

# Resident memory of the idle window: Kwetro trims its working set every ten
# seconds (Timer1), so the figure is read after twelve.
resident() {
  start_and_time "$1" >/dev/null
  sleep 12
  awk '/VmRSS/ { print $2 }' "/proc/$running/status"
  stop
}
rss_kwetro=$(resident "$work/Kwetro/Kwetro.exe")
rss_minimal=$(resident "$work/minimal/$yardstick.exe")

start_kwetro=$(median <"$work/start.Kwetro")
start_minimal=$(median <"$work/start.minimal")
echo "window start-up under Wine $(wine --version) and Xvfb, $runs runs each, alternating"
echo "  Kwetro.exe:          median ${start_kwetro} s (runs: $(sort -g "$work/start.Kwetro" | paste -sd' '))"
printf '  %-20s ' "$yardstick.exe:"; echo "median ${start_minimal} s (runs: $(sort -g "$work/start.minimal" | paste -sd' '))"
echo "  ratio:               $(awk -v a="$start_kwetro" -v b="$start_minimal" 'BEGIN { printf "%.2f", a / b }')"
echo "idle window, resident (VmRSS of the Wine process, after 12 s)"
echo "  Kwetro.exe:          ${rss_kwetro} KB"
printf '  %-20s ' "$yardstick.exe:"; echo "${rss_minimal} KB"
echo "exe size (x86_64, static, stripped)"
echo "  Kwetro.exe:          $(stat -c %s "$build/Kwetro.exe") bytes"
printf '  %-20s ' "$yardstick.exe:"; echo "$(stat -c %s "$build/bench/$yardstick.exe") bytes"
echo "  Kwetro.exe imports:  $(x86_64-w64-mingw32-objdump -p "$build/Kwetro.exe" |
  awk '/DLL Name:/ { printf "%s ", $3 }')"
