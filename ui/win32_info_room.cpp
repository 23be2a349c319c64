// Room for the information line: it holds the longest hint of the window
// whole, at the width it has on the screen the window runs on (a 640x480
// screen, Windows XP's large fonts), instead of cutting it. The pages above
// it give up the room and scroll.
// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <algorithm>

#include "app/win32_text.h"
#include "ui/win32_info_line.h"
#include "ui/win32_main_window.h"

namespace kwetro::win32 {

int InfoLine::NeededHeight(int width) {
  if (width == measuredWidth_) return neededHeight_;
  const int line = parts_.Object(WindowObject::kInfoLine);
  const HFONT font = parts_.Native(line).font;
  int tallest = 0;
  auto measure = [&](const std::wstring& text) {
    if (!text.empty()) tallest = std::max<int>(tallest, parts_.MeasureText(font, text, width).cy);
  };
  measure(Widen(parts_.Item(line).Text("Caption")));
  // The window's own hints (also of pages not built yet), and the control
  // table's: an option's may be its state's own, a drop-down list's and a
  // spinner's line is the explanation of what it writes.
  for (const LayoutItem& item : parts_.layout.items)
    for (const char* hint : {"Hint", "ServicesHint"}) measure(LongHint(Widen(item.Text(hint))));
  const ControlTable& t = Controls();
  for (const OptionDecl& option : t.options)
    for (TriState state : {cbChecked, cbUnchecked, cbGrayed})
      measure(LongHint(Widen(Hint(option, state))));
  for (const ComboDecl& combo : t.combos) measure(L" " + Widen(combo.explanation));
  for (const SpinnerDecl& spinner : t.spinners) measure(L" " + Widen(spinner.explanation));
  measuredWidth_ = width;
  neededHeight_ = tallest;
  return tallest;
}

void MainWindow::FitInfoLine() {
  const int line = parts_.Object(WindowObject::kInfoLine);
  if (line < 0) return;
  const NativeControl& n = parts_.Native(line);
  const int designed = parts_.Scale(parts_.Item(line).Int("Height"));
  int needed = info_.NeededHeight(n.bounds.right - n.bounds.left);
  // With this computer read, a line of its state comes before the hint.
  if (marks_.HasMachine()) needed += parts_.MeasureText(n.font, L"Ag").cy;
  if (pages_.SetInfoGrowth(std::max(0, needed - designed))) pages_.Relayout();
}

}  // namespace kwetro::win32
