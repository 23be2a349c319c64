#!/usr/bin/env bash
# Starts a virtual X server on a free display, for Wine tests of the window.
# Prints shell assignments; use it as
#
#   eval "$(scripts/start-xvfb.sh [WIDTHxHEIGHT])"   # sets DISPLAY and KWETRO_XVFB_PID
#   ...
#   kill "$KWETRO_XVFB_PID"
#
# Xvfb picks the display itself (-displayfd), so parallel runs never race for
# the same number.
set -euo pipefail

size=${1:-1280x1024}
[[ $size =~ ^[0-9]+x[0-9]+$ ]] || { echo "$0: screen size $size is not WIDTHxHEIGHT" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "$0: Xvfb is not installed (package xvfb)" >&2; exit 1; }

fifo_dir=$(mktemp -d)
trap 'rm -rf "$fifo_dir"' EXIT
mkfifo "$fifo_dir/display"

# setsid: the server outlives this script and ignores the caller's Ctrl-C.
setsid Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset \
  3>"$fifo_dir/display" </dev/null >/dev/null 2>&1 &
pid=$!

display=
if ! read -r -t 30 display <"$fifo_dir/display" || [[ -z $display ]]; then
  kill "$pid" 2>/dev/null || true
  echo "$0: Xvfb did not start" >&2
  exit 1
fi
echo "export DISPLAY=:$display KWETRO_XVFB_PID=$pid"
