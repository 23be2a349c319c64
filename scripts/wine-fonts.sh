#!/usr/bin/env bash
# Puts the window's fonts into the Wine prefix $WINEPREFIX: Wine's own Tahoma
# (the window's font) and Marlett (the caption buttons), from the Debian
# package fonts-wine. Without them Wine substitutes fonts of other widths,
# and the window is not the one designed (the note's caption ran over the
# link beside it).
set -euo pipefail

fonts=/usr/share/wine/fonts
prefix=${WINEPREFIX:?WINEPREFIX is not set}
for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
  [[ -f $fonts/$font ]] || { echo "$0: $fonts/$font is missing: install the Debian package fonts-wine" >&2; exit 1; }
done
mkdir -p "$prefix/drive_c/windows/Fonts"
for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
  cmp -s "$fonts/$font" "$prefix/drive_c/windows/Fonts/$font" ||
    cp "$fonts/$font" "$prefix/drive_c/windows/Fonts/"
done
