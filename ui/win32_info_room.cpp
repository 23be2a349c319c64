// Room for the information line: it holds the longest hint of the window
// whole, at the width it has on the screen the window runs on (a 640x480
// screen, Windows XP's large fonts), instead of cutting it. The pages above
// it give up the room and scroll.
// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <algorithm>
#include <vector>

#include "app/win32_text.h"
#include "ui/win32_info_line.h"
#include "ui/win32_main_window.h"

namespace kwetro::win32 {

int InfoLine::NeededHeight(int width) {
  if (width == measuredWidth_) return neededHeight_;
  const int line = parts_.Object(WindowObject::kInfoLine);
  std::vector<std::wstring> texts = {Widen(parts_.Item(line).Text("Caption"))};
  // The window's own hints (also of pages not built yet), and the control
  // table's: an option's may be its state's own, a drop-down list's and a
  // spinner's line is the explanation of what it writes.
  for (const LayoutItem& item : parts_.layout.items)
    for (const char* hint : {"Hint", "ServicesHint"})
      texts.push_back(LongHint(Widen(item.Text(hint))));
  const ControlTable& t = Controls();
  for (const OptionDecl& option : t.options)
    for (TriState state : {cbChecked, cbUnchecked, cbGrayed})
      texts.push_back(LongHint(Widen(Hint(option, state))));
  for (const ComboDecl& combo : t.combos) texts.push_back(L" " + Widen(combo.explanation));
  for (const SpinnerDecl& spinner : t.spinners) texts.push_back(L" " + Widen(spinner.explanation));
  // The tallest is among the longest: measuring all four hundred would cost
  // some 20 ms of the window's start under Wine, the longest few 2 ms.
  constexpr std::size_t kMeasured = 32;
  const auto longest =
      texts.begin() + static_cast<std::ptrdiff_t>(std::min(kMeasured, texts.size()));
  std::partial_sort(
      texts.begin(), longest, texts.end(),
      [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
  int tallest = 0;
  const HFONT font = parts_.Native(line).font;
  for (auto text = texts.begin(); text != longest; ++text)
    tallest = std::max<int>(tallest, parts_.MeasureText(font, *text, width).cy);
  measuredWidth_ = width;
  neededHeight_ = tallest;
  return tallest;
}

void MainWindow::FitInfoLine() {
  const int line = parts_.Object(WindowObject::kInfoLine);
  if (line < 0) return;
  const NativeControl& n = parts_.Native(line);
  // Its height in the layout, as the layout's rectangle is scaled.
  const LayoutItem& item = parts_.Item(line);
  const int designed =
      parts_.Scale(item.Int("Top") + item.Int("Height")) - parts_.Scale(item.Int("Top"));
  int needed = info_.NeededHeight(n.bounds.right - n.bounds.left);
  // With this computer read, its state comes before the hint: a line, two
  // where it names what differs and the state chosen.
  if (marks_.HasMachine()) needed += 2 * parts_.MeasureText(n.font, L"Ag").cy;
  if (pages_.SetInfoGrowth(std::max(0, needed - designed))) pages_.Relayout();
}

}  // namespace kwetro::win32
