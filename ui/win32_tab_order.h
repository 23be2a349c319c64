// The order Tab walks through the window: the system's, which follows the
// order of the windows, except that a row of tabs comes before the page it
// shows, as a reader meets them. (Among the windows a page lies before its
// tab control, so that it paints over the tab control's display area.)
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace kwetro::win32 {

// The tab stops of root in the order Tab visits them; rows: each tab control
// with the window of the page it shows.
std::vector<HWND> TabStops(HWND root, const std::vector<std::pair<HWND, HWND>>& rows);

// The stop after from (before it, with previous), round at the ends; null
// when from is none of them.
HWND NextTabStop(const std::vector<HWND>& stops, HWND from, bool previous);

// The control that had the keyboard focus when the window was deactivated
// gets it back when the window is active again.
class KeptFocus {
 public:
  // WM_ACTIVATE: true when it gave the focus back (the message is handled).
  bool Activated(WPARAM state);

 private:
  HWND last_ = nullptr;
};

}  // namespace kwetro::win32
