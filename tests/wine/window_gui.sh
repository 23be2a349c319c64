#!/usr/bin/env bash
# The real main window under Wine, driven through messages by
# kwetro-window-test.exe, at 96 and again at 120 DPI (XP's large fonts).
set -euo pipefail
source "$(dirname "$0")/window_common.sh"

exe=$windows/tests/kwetro-window-test.exe
needs "$exe" "$windows/kwetro-cli.exe"
work=$work_root/window_gui-$KWETRO_WINE_ARCH
rm -rf "$work"
mkdir -p "$work"

need_display
shared_prefix "$work/prefix"
install_window_fonts
cd "$work"
wine "$exe" --gtest_brief=1
set_dpi 120
status=0
wine "$exe" --gtest_brief=1 \
  --gtest_filter='*AtTheDesignedSize*:*WhereTheScreenHasRoom*:*ThePreviewKeeps*:*HintTest*:*PopUpHints*' || status=$?
set_dpi 96
exit $status
