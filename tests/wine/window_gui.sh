#!/usr/bin/env bash
# The real main window under Wine, driven through messages by
# kwetro-window-test.exe: option clicks and keys, pages with title and legend,
# the information line, the services list and presets, search and preview,
# Apply against kwetro-cli.exe, Cancel, and a deployed copy that counts down,
# registers its start-up commands and removes itself. Also every text of the
# window readable in full at 96 DPI with the window's own font, and no control
# outside its page or on top of another (LayoutTest, against ui/kwetro.form).
set -euo pipefail
source "$(dirname "$0")/window_common.sh"

exe=$win64/tests/kwetro-window-test.exe
require_file "$exe"
require_file "$win64/kwetro-cli.exe"
work=$work_root/window_gui
rm -rf "$work"
mkdir -p "$work"

need_display
# The prefix ./test made, or a fresh one.
if [[ -n ${KWETRO_WINEPREFIX:-} ]]; then export WINEPREFIX=$KWETRO_WINEPREFIX; else fresh_prefix "$work/prefix"; fi
install_window_fonts
cd "$work"
wine "$exe" --gtest_brief=1
