// The preview beside the window, or over it where the screen has no room
// beside it: then it lies over the right part of the pages, below their
// tabs, and the pages end at its edge and scroll, so that every control
// stays in reach while it is open.
// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "ui/win32_main_window.h"

namespace kwetro::win32 {
namespace {

// The display area of a tab control (where its pages lie), on the screen.
RECT PagesOnScreen(HWND tabs) {
  RECT area = {};
  if (!tabs) return area;
  GetClientRect(tabs, &area);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

}  // namespace

void MainWindow::OpenPreview() {
  run_.StopCountdown();
  SelectionChanged();
  // Where it must cover the window, it covers only the pages, not their tabs.
  preview_.Open(parts_.main, parts_.DefaultFont(),
                PagesOnScreen(parts_.Native(parts_.Object(WindowObject::kMainPages)).hwnd),
                changed_);
}

void MainWindow::MakeRoomForPreview() {
  const int mainPages = parts_.Object(WindowObject::kMainPages);
  HWND tabs = mainPages > 0 ? parts_.Native(mainPages).hwnd : nullptr;
  if (!tabs) return;
  int margin = 0;
  RECT preview, over;
  const RECT pages = PagesOnScreen(tabs);
  if (preview_.IsOpen() && IsWindowVisible(preview_.Handle()) && !IsIconic(parts_.main) &&
      GetWindowRect(preview_.Handle(), &preview) && IntersectRect(&over, &preview, &pages))
    margin = pages.right - over.left;
  if (!pages_.SetPagesMargin(margin)) return;
  pages_.Relayout();
  RedrawWindow(tabs, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  for (int page : parts_.children[static_cast<std::size_t>(mainPages)])
    if (HWND view = parts_.Native(page).hwnd)
      RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace kwetro::win32
