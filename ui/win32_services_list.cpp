// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "ui/win32_services_list.h"

#include <algorithm>

#include "app/win32_text.h"

namespace kwetro::win32 {

namespace {

// Where the list keeps its owner. (Subclassed the classic way rather than
// with SetWindowSubclass, which only the version 6 common controls export by
// name on Windows XP.)
const wchar_t kOwnerProperty[] = L"KwetroServicesList";

}  // namespace

WNDPROC ServicesList::baseProc_ = nullptr;

void ServicesList::Attach(int item) {
  item_ = item;
  HWND list = parts_.Native(item).hwnd;
  enabled_ = parts_.selection.ServicesEnabled();
  shown_ = parts_.selection.services;
  SetPropW(list, kOwnerProperty, reinterpret_cast<HANDLE>(this));
  baseProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ServicesList::Proc)));
}

LRESULT CALLBACK ServicesList::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* list = reinterpret_cast<ServicesList*>(GetPropW(hwnd, kOwnerProperty));
  auto base = [&] { return CallWindowProcW(baseProc_, hwnd, msg, wParam, lParam); };
  if (!list) return base();
  if (msg == WM_LBUTTONDOWN) {
    // A click on an item's box moves its state along the cycle.
    const LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
    const int x = static_cast<short>(LOWORD(lParam));
    if (HIWORD(hit) == 0 && x < kServiceMachineColumn + kServiceBoxColumn) {
      const LRESULT result = base();
      list->clicked_(static_cast<int>(LOWORD(hit)));
      return result;
    }
  }
  if (msg == WM_CHAR && wParam == L' ') {
    const LRESULT selected = SendMessageW(hwnd, LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) list->clicked_(static_cast<int>(selected));
    return 0;
  }
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, kOwnerProperty);
  return base();
}

void ServicesList::FitItemHeight(SIZE textOfFont) {
  itemHeight_ = std::max(kGlyphSize + kServiceRowBoxRoom,
                         static_cast<int>(textOfFont.cy) + kServiceRowTextRoom);
}

void ServicesList::Draw(const DRAWITEMSTRUCT& item) {
  const auto& services = Controls().services;
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= services.size()) return;
  const Selection& selection = parts_.selection;
  DrawServiceItem(item, selection.services[item.itemID], selection.ServicesEnabled(),
                  GetFocus() == item.hwndItem, Widen(services[item.itemID].ItemText()),
                  item_ > 0 ? parts_.Native(item_).font : parts_.DefaultFont(),
                  static_cast<int>(item.itemID) == highlighted_);
}

void ServicesList::Refresh() {
  if (item_ < 0) return;
  HWND list = parts_.Native(item_).hwnd;
  const Selection& selection = parts_.selection;
  if (selection.ServicesEnabled() != enabled_) {
    enabled_ = selection.ServicesEnabled();
    InvalidateRect(list, nullptr, FALSE);
  }
  if (selection.services != shown_) {
    shown_ = selection.services;
    InvalidateRect(list, nullptr, FALSE);
  }
}

void ServicesList::Select(int item) {
  if (item_ > 0)
    SendMessageW(parts_.Native(item_).hwnd, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

void ServicesList::Highlight(int item) {
  if (item == highlighted_) return;
  highlighted_ = item;
  if (item_ > 0) InvalidateRect(parts_.Native(item_).hwnd, nullptr, FALSE);
}

}  // namespace kwetro::win32
