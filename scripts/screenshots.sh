#!/usr/bin/env bash
# Takes a picture of every page and sub-page of the window under Wine on a
# virtual display and stores them as docs/screenshots/<n>-<page>[-<sub>].png,
# with a search hit (search.png) and the preview beside the window
# (preview.png).
# The window is the one of the Windows x86_64 build (KWETRO_WIN64, default
# build/win64), shown by kwetro-pictures (scripts/window_pictures.cpp), which switches pages as a click on
# a tab does and points at the first option so that the information line
# explains it. Needs wine, xvfb, imagemagick and fonts-wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source tests/wine/window_common.sh

exe=$win64/tests/kwetro-pictures.exe
require_file "$exe"
out=$root/docs/screenshots
work=$(mktemp -d)
trap 'window_cleanup; rm -rf "$work"' EXIT

need_display
fresh_prefix "$work/prefix"
install_window_fonts
mkdir -p "$work/shots"
(cd "$work" && wine "$exe" "$(winepath -w "$work/shots")") >/dev/null

# Page numbers as the tabs run, named for a reader of the file list; the
# search and preview pictures keep their names.
names=(system explorer ie media-player services)
mkdir -p "$out"
rm -f "$out"/*.png
count=0
for bmp in "$work"/shots/*.bmp; do
  base=$(basename "$bmp" .bmp)   # "1-3", "4", "search" or "preview"
  page=${base%%-*}
  sub=${base#"$page"}
  if [[ $page =~ ^[0-9]+$ ]]; then
    convert "$bmp" "$out/$page-${names[$((page - 1))]}$sub.png"
  else
    convert "$bmp" "$out/$base.png"
  fi
  count=$((count + 1))
done
[[ $count -gt 0 ]] || fail "no picture was taken"
echo "$count pictures in ${out#"$root"/}"
