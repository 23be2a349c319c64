#!/usr/bin/env bash
# Every text of the window readable in full at 96 DPI with the window's own
# font: no caption wider than its control in any option state, every hint
# within the information line, no control outside its page or on top of
# another. A failure names the controls and their rectangles; the layout
# itself lives in ui/kwetro.form.
set -euo pipefail
source "$(dirname "$0")/window_common.sh"

exe=$win64/tests/kwetro-window-test.exe
require_file "$exe"
work=$work_root/window_layout
rm -rf "$work"
mkdir -p "$work"

need_display
use_shared_prefix "$work/prefix"
install_window_fonts
cd "$work"
wine "$exe" --gtest_filter='LayoutTest.*' --gtest_brief=1
