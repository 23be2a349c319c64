#include "ui/win32_scroll_view.h"

#include <algorithm>
#include <tuple>

namespace kwetro::win32 {
namespace {

int Line(HWND view) {
  return std::max<int>(1, static_cast<int>(GetWindowLongPtrW(view, GWLP_USERDATA)));
}

bool IsScrollView(HWND hwnd) {
  wchar_t name[32];
  return GetClassNameW(hwnd, name, 32) && lstrcmpW(name, kScrollViewClass) == 0;
}

// Shows the part of the child from (x, y) on, as far as the scroll range lets.
void ScrollTo(HWND view, int x, int y) {
  SCROLLINFO info = {sizeof info, SIF_POS, 0, 0, 0, 0, 0};
  info.nPos = x;
  SetScrollInfo(view, SB_HORZ, &info, TRUE);
  info.nPos = y;
  SetScrollInfo(view, SB_VERT, &info, TRUE);
  const POINT at = ScrollPosition(view);
  if (HWND child = GetWindow(view, GW_CHILD))
    SetWindowPos(child, nullptr, -at.x, -at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Position(HWND view, int bar, int request) {
  SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(view, bar, &info);
  const int page = std::max<int>(Line(view), static_cast<int>(info.nPage) - Line(view));
  switch (request) {
    case SB_LINEUP:
      return info.nPos - Line(view);
    case SB_LINEDOWN:
      return info.nPos + Line(view);
    case SB_PAGEUP:
      return info.nPos - page;
    case SB_PAGEDOWN:
      return info.nPos + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      return info.nTrackPos;
    case SB_TOP:
      return info.nMin;
    case SB_BOTTOM:
      return info.nMax;
    default:
      return info.nPos;
  }
}

// The start of a view of size room that shows [from, to), moved as little
// as possible from at; the start of the range wins when all of it cannot show.
int Into(int at, int from, int to, int room) {
  if (to > at + room) at = to - room;
  return std::min(at, from);
}

LRESULT CALLBACK ScrollViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_VSCROLL:
      ScrollTo(hwnd, ScrollPosition(hwnd).x, Position(hwnd, SB_VERT, LOWORD(wParam)));
      return 0;
    case WM_HSCROLL:
      ScrollTo(hwnd, Position(hwnd, SB_HORZ, LOWORD(wParam)), ScrollPosition(hwnd).y);
      return 0;
    case WM_MOUSEWHEEL: {
      // Three lines a notch, as the system's default; with nothing to
      // scroll, the window around it has its turn.
      if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL)) break;
      const POINT at = ScrollPosition(hwnd);
      ScrollTo(hwnd, at.x, at.y - GET_WHEEL_DELTA_WPARAM(wParam) * 3 * Line(hwnd) / WHEEL_DELTA);
      return 0;
    }
    case WM_ERASEBKGND:
      return TRUE;  // the child covers all of it
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool RegisterScrollView() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = &ScrollViewProc;
  wc.lpszClassName = kScrollViewClass;
  return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

POINT ScrollPosition(HWND view) {
  SCROLLINFO info = {sizeof info, SIF_POS, 0, 0, 0, 0, 0};
  POINT at = {};
  if (GetWindowLongW(view, GWL_STYLE) & WS_HSCROLL && GetScrollInfo(view, SB_HORZ, &info))
    at.x = info.nPos;
  if (GetWindowLongW(view, GWL_STYLE) & WS_VSCROLL && GetScrollInfo(view, SB_VERT, &info))
    at.y = info.nPos;
  return at;
}

void FitScrollView(HWND view, SIZE content, int line) {
  SetWindowLongPtrW(view, GWLP_USERDATA, line);
  RECT outer;
  GetWindowRect(view, &outer);
  const SIZE size = {outer.right - outer.left, outer.bottom - outer.top};
  const SIZE bar = {GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
  // Each bar takes room from the other direction: twice settles both.
  bool vertical = false, horizontal = false;
  for (int pass = 0; pass < 2; ++pass) {
    vertical = content.cy > size.cy - (horizontal ? bar.cy : 0);
    horizontal = content.cx > size.cx - (vertical ? bar.cx : 0);
  }
  const SIZE room = {size.cx - (vertical ? bar.cx : 0), size.cy - (horizontal ? bar.cy : 0)};
  const POINT at = ScrollPosition(view);
  for (const auto& [kind, needed, extent, shown] :
       {std::tuple{SB_VERT, vertical, content.cy, room.cy},
        std::tuple{SB_HORZ, horizontal, content.cx, room.cx}}) {
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    info.nMax = needed ? extent - 1 : 0;
    info.nPage = needed ? static_cast<UINT>(shown) : 0;
    info.nPos = needed ? (kind == SB_VERT ? at.y : at.x) : 0;
    SetScrollInfo(view, kind, &info, TRUE);
    ShowScrollBar(view, kind, needed);
  }
  if (HWND child = GetWindow(view, GW_CHILD))
    SetWindowPos(child, nullptr, 0, 0, std::max(content.cx, room.cx), std::max(content.cy, room.cy),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const POINT kept = ScrollPosition(view);
  ScrollTo(view, kept.x, kept.y);
}

void RevealControl(HWND control) {
  for (HWND child = control, view = GetParent(control); view;
       child = view, view = GetParent(view)) {
    if (!IsScrollView(view)) continue;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, child, reinterpret_cast<POINT*>(&r), 2);
    InflateRect(&r, 4, 4);  // a little of what lies around it
    RECT room;
    GetClientRect(view, &room);
    // Sideways as far as three quarters of the view from its start: the
    // whole of a drop-down list with its arrow, the box and the start of a
    // long caption, whose end is not worth the column of boxes leaving.
    const LONG start = std::min<LONG>(r.right, r.left + room.right * 3 / 4);
    const POINT at = ScrollPosition(view);
    ScrollTo(view, Into(at.x, r.left, start, room.right), Into(at.y, r.top, r.bottom, room.bottom));
  }
}

}  // namespace kwetro::win32
