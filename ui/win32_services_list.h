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
  // The rows' height for the list's font; asked for (WM_MEASUREITEM) while
  // the list is being created, so known before.
  void FitItemHeight(SIZE textOfFont);
  void Measure(MEASUREITEMSTRUCT& item) const { item.itemHeight = static_cast<UINT>(itemHeight_); }
  void Draw(const DRAWITEMSTRUCT& item);
  // Shows the selection's states and whether the list can be changed.
  void Refresh();
  // Selects an item (the first, as entering the services page does).
  void Select(int item);
  // Highlights an item as a search found it (-1: none).
  void Highlight(int item);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static WNDPROC baseProc_;  // the list box class's own procedure

  WindowParts& parts_;
  std::function<void(int)> clicked_;
  int highlighted_ = -1;
  int item_ = -1;
  int itemHeight_ = kGlyphSize + kServiceRowBoxRoom;
  bool enabled_ = false;  // whether the scripts hold it, as drawn
  std::vector<TriState> shown_;
};

}  // namespace kwetro::win32
