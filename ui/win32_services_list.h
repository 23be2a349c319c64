// The services list: one owner-drawn item per service with its state box,
// clicked on the box or with the space bar to move the service's start state
// along the cycle of the option boxes. Under the standard configuration it
// can be read and scrolled, but it writes nothing and nothing in it changes.
#pragma once

#include <functional>

#include "ui/win32_parts.h"

namespace kwetro::win32 {

class ServicesList {
 public:
  // clicked runs when the user moves an item's state.
  ServicesList(WindowParts& parts, std::function<void(int)> clicked)
      : parts_(parts), clicked_(std::move(clicked)) {}

  // Takes over the list's clicks and keys once it is created.
  void Attach(int item);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height) { itemHeight_ = height; }
  void Draw(const DRAWITEMSTRUCT& item);
  // Shows the selection's states and whether the list can be changed.
  void Refresh();
  // Selects an item (the first, as entering the services page does).
  void Select(int item);
  // Marks an item as a search found it (-1: none).
  void Mark(int item);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static WNDPROC baseProc_;  // the list box class's own procedure

  WindowParts& parts_;
  std::function<void(int)> clicked_;
  int marked_ = -1;
  int item_ = -1;
  int itemHeight_ = 18;
  bool enabled_ = false;  // whether the scripts hold it, as drawn
  std::vector<TriState> shown_;
};

}  // namespace kwetro::win32
