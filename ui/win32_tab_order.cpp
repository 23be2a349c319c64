#include "ui/win32_tab_order.h"

#include <algorithm>

namespace kwetro::win32 {

std::vector<HWND> TabStops(HWND root, const std::vector<std::pair<HWND, HWND>>& rows) {
  std::vector<HWND> stops;
  const HWND first = GetNextDlgTabItem(root, nullptr, FALSE);
  for (HWND at = first; at && stops.size() < 4096;) {
    stops.push_back(at);
    at = GetNextDlgTabItem(root, at, FALSE);
    if (at == first) break;
  }
  // Each row of tabs goes before the first stop of the page it shows (the
  // rows around a page before those inside it, whatever the order of rows).
  for (const auto& [tabs, page] : rows) {
    const auto row = std::find(stops.begin(), stops.end(), tabs);
    const auto inside = std::find_if(stops.begin(), stops.end(),
                                     [page = page](HWND hwnd) { return IsChild(page, hwnd); });
    if (row == stops.end() || !page || inside == stops.end() || inside > row) continue;
    std::rotate(inside, row, row + 1);
  }
  return stops;
}

HWND NextTabStop(const std::vector<HWND>& stops, HWND from, bool previous) {
  const auto at = std::find(stops.begin(), stops.end(), from);
  if (at == stops.end()) return nullptr;
  const std::size_t i = static_cast<std::size_t>(at - stops.begin()), n = stops.size();
  return stops[(i + (previous ? n - 1 : 1)) % n];
}

bool KeptFocus::Activated(WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE) {
    last_ = GetFocus();
    return false;
  }
  if (!last_ || !IsWindow(last_)) return false;
  SetFocus(last_);
  return true;
}

}  // namespace kwetro::win32
