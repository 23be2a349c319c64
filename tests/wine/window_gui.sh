#!/usr/bin/env bash
# The real main window under Wine, driven through messages by
# kwetro-window-test.exe: option clicks and keys, pages with title and legend,
# the information line, the services list and presets, search and preview,
# Apply against kwetro-cli.exe, Cancel, and a deployed copy that counts down,
# registers its start-up commands and removes itself. Also every text of the
# window readable in full with the window's own font and no control outside
# its page or on top of another (LayoutTest, against ui/kwetro.form), the
# window on screens from 640x480 up and the preview beside it (ScreenTest,
# the preview tests); the texts, the designed layout and the preview's least
# size again at 120 DPI (Windows XP's large fonts).
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
