// What the search shows: the control found, its pages and its label
// highlighted, its hint in the information line; and when it finds nothing
// any more, the page it started from again.
// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include <algorithm>

#include "ui/win32_main_window.h"

namespace kwetro::win32 {

void MainWindow::GoTo(ControlRef control, bool focus) {
  const bool service = control.kind == ControlKind::kService;
  const int item =
      service ? parts_.Object(WindowObject::kServicesList) : parts_.Named(ControlName(control));
  if (item < 0) return;
  const int page = pages_.PageOf(item);
  if (page > 0) ShowPage(page, false);
  ClearHighlights();
  // A drop-down list or spinner is highlighted by the label that names it.
  int label = -1;
  if (control.kind == ControlKind::kCombo)
    label = parts_.Named(Controls().combos[static_cast<std::size_t>(control.index)].label);
  if (control.kind == ControlKind::kSpinner)
    label = parts_.Named(Controls().spinners[static_cast<std::size_t>(control.index)].label);
  for (int found : {service ? -1 : item, label}) {
    if (found < 0) continue;
    NativeControl& n = parts_.Native(found);
    n.highlighted = true;
    highlighted_.push_back(found);
    if (n.hwnd)
      InvalidateRect(n.hwnd, nullptr, FALSE);
    else
      InvalidateRect(parts_.Native(parts_.Item(found).parent).container, &n.bounds, FALSE);
  }
  if (service) {
    services_.Highlight(control.index);
    services_.Select(control.index);
    marks_.SetServiceRow(-1);  // the line speaks of the item found
  }
  if (focus) SetFocus(parts_.Native(item).hwnd);
  info_.Explain(label > 0 ? label : item);
}

void MainWindow::SearchFoundNothing(bool cleared) {
  ClearHighlights();
  if (searchOrigin_ > 0) ShowPage(searchOrigin_, false);
  if (cleared) searchOrigin_ = -1;
  info_.Explain(std::max(0, parts_.ItemOf(GetFocus())));
}

void MainWindow::ClearHighlights() {
  for (int found : highlighted_) {
    NativeControl& n = parts_.Native(found);
    n.highlighted = false;
    if (n.hwnd)
      InvalidateRect(n.hwnd, nullptr, FALSE);
    else
      InvalidateRect(parts_.Native(parts_.Item(found).parent).container, &n.bounds, TRUE);
  }
  highlighted_.clear();
  services_.Highlight(-1);
}

}  // namespace kwetro::win32
