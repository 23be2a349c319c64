#!/usr/bin/env bash
# Takes the pictures in docs/screenshots under Wine on virtual displays:
#
#   - on a 1280x1024 screen, every page and sub-page of the window as
#     <n>-<page>[-<sub>].png, a search hit (search.png), the preview beside
#     the window (preview.png) and the marks of this computer (marks.png), the
#     prefix holding the all-checked selection's scripts (tests/golden);
#   - the whole screen at 640x480, 800x600 and 1024x768, and at 120 DPI (Windows XP's
#     large fonts) at 1024x768 and 1280x1024, as <screen>-start.png (the
#     window as it opens), <screen>-preview.png (the preview opened after a
#     click) and <screen>-countdown.png (a deployed copy counting down); the
#     120 DPI ones named 120dpi-<size>-....
#
# The window is the one of the Windows x86_64 build (KWETRO_WIN64, default
# build/win64) in a 64-bit prefix. With the argument i686 it is the one of the
# i686 build (KWETRO_WIN32, default build/win32) in a 32-bit prefix, as on
# XP, on the 800x600 screen only, as i686-800x600-<start|preview|countdown>.png
# beside the x86_64 pictures, which it leaves alone; it then says how many
# pixels differ from the x86_64 pictures of that screen. Each is shown by
# kwetro-pictures (scripts/window_pictures.cpp), which
# switches pages as a click on a tab does and points at an option so that the
# information line explains it. A screen of the virtual display has no
# taskbar: the work area is the whole screen. Needs wine, xvfb, imagemagick
# and fonts-wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-x86_64}
case $build in
  x86_64) export KWETRO_WINE_ARCH=win64 ;;
  i686) export KWETRO_WINE_ARCH=win32 ;;
  *) echo "usage: $0 [x86_64|i686]" >&2; exit 2 ;;
esac
source tests/wine/window_common.sh

exe=$windows/tests/kwetro-pictures.exe
needs "$exe"
out=$root/docs/screenshots
work=$(mktemp -d)
xvfb=
trap 'window_cleanup; if [[ -n $xvfb ]]; then kill "$xvfb" 2>/dev/null; fi; rm -rf "$work"' EXIT

# One Wine server per screen: Wine's display driver takes the screen's size
# when the server starts.
screen() {
  local size=$1
  if [[ -n $own_prefix ]]; then
    wineserver -k 2>/dev/null || true
    wineserver -w
  fi
  if [[ -n $xvfb ]]; then kill "$xvfb"; fi
  eval "$(scripts/start-xvfb.sh "$size")"
  xvfb=$KWETRO_XVFB_PID
  if [[ -n $own_prefix ]]; then wineserver -p; fi
}

# pictures NAME MODE: kwetro-pictures in MODE, its pictures into shots/NAME.
pictures() {
  mkdir -p "$work/shots/$1"
  (cd "$work" && wine "$exe" "$(winepath -w "$work/shots/$1")" "$2") >/dev/null ||
    fail "kwetro-pictures $2 failed on the screen $1"
}

# The prefix on the first screen, with the fonts and the all-checked
# selection's scripts imported.
first_screen() {
  screen "$1"
  fresh_prefix "$work/prefix"
  install_window_fonts
  for script in hkcu.reg hklm.reg; do
    (cd tests/golden/all-checked && LC_ALL=ru_RU.UTF-8 wine regedit /S "$script") ||
      fail "regedit /S tests/golden/all-checked/$script failed"
  done
}

mkdir -p "$out"
if [[ $build == i686 ]]; then
  # The same way to the 800x600 screen as the x86_64 pictures take (the pages
  # first, not kept): the window then finds the prefix, and Wine the pointer,
  # as they did there.
  first_screen 1280x1024
  pictures pages pages
  screen 800x600
  pictures 800x600 screen
  rm -f "$out"/i686-*.png
  for bmp in "$work"/shots/800x600/*.bmp; do
    base=$(basename "$bmp" .bmp)
    convert "$bmp" "$out/i686-800x600-$base.png"
    # The number of pixels that differ from the x86_64 picture (compare
    # prints it on its error output and exits 1 when it is not 0).
    if [[ -f $out/800x600-$base.png ]]; then
      differ=$(compare -metric AE "$out/800x600-$base.png" "$out/i686-800x600-$base.png" null: 2>&1) || true
      echo "i686-800x600-$base.png: $differ pixels differ from 800x600-$base.png"
    fi
  done
  exit 0
fi

first_screen 1280x1024
pictures pages pages
for size in 640x480 800x600 1024x768; do
  screen "$size"
  pictures "$size" screen
done
set_dpi 120
for size in 1024x768 1280x1024; do
  screen "$size"
  pictures "120dpi-$size" screen
done

# Page numbers as the tabs run, named for a reader of the file list; the
# search and preview pictures keep their names. The i686 pictures stay.
names=(system explorer ie media-player services)
find "$out" -maxdepth 1 -name '*.png' ! -name 'i686-*' -delete
count=0
for bmp in "$work"/shots/*/*.bmp; do
  set=$(basename "$(dirname "$bmp")")
  base=$(basename "$bmp" .bmp)   # "1-3", "4", "search", "preview", "start" or "countdown"
  page=${base%%-*}
  sub=${base#"$page"}
  if [[ $set != pages ]]; then
    convert "$bmp" "$out/$set-$base.png"
  elif [[ $page =~ ^[0-9]+$ ]]; then
    convert "$bmp" "$out/$page-${names[$((page - 1))]}$sub.png"
  else
    convert "$bmp" "$out/$base.png"
  fi
  count=$((count + 1))
done
[[ $count -gt 0 ]] || fail "no picture was taken"
echo "$count pictures in ${out#"$root"/}"
