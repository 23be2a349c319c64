// The pages the window shows: the first ones at the start, a page chosen by
// the user, by Ctrl+Tab or by the search, and what a page change does to the
// focus, the information line and the run control.
// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "ui/win32_main_window.h"

namespace kwetro::win32 {

void MainWindow::ShowFirstPages() {
  for (WindowObject object : {WindowObject::kMainPages, WindowObject::kSystemPages}) {
    const int control = parts_.Object(object);
    if (!parts_.Native(control).hwnd) continue;
    SendMessageW(parts_.Native(control).hwnd, TCM_SETCURSEL, 0, 0);
    pages_.ShowSelected(control);
  }
  info_.ShowPageTitle(MainPage());
}

int MainWindow::MainPage() const {
  return parts_.Item(pages_.SelectedPage(parts_.Object(WindowObject::kMainPages))).index;
}

void MainWindow::ShowPage(int page, bool byUser) {
  // Each tab chosen as a click on it would choose it.
  for (const auto& [pageControl, position] : pages_.TabsTo(page)) {
    if (pages_.Selected(pageControl) == position) continue;
    SendMessageW(parts_.Native(pageControl).hwnd, TCM_SETCURSEL, static_cast<WPARAM>(position), 0);
    OnPageChanged(pageControl, byUser);
  }
}

void MainWindow::OnPageChanged(int pageControl, bool byUser) {
  pages_.ShowSelected(pageControl);
  const int mainPages = parts_.Object(WindowObject::kMainPages);
  bool servicesEntered = false;
  // What a page change does to the selection and the countdown is for the
  // user's own change: a search that shows a page has stopped the countdown
  // already, and changes no choice.
  if (pageControl == mainPages) {
    const int page = MainPage();
    if (byUser) run_.MainPageChanged(page);
    info_.ShowPageTitle(page);
    servicesEntered = page == ServicesPage();
    if (servicesEntered) {
      services_.Select(0);
      marks_.SetServiceRow(-1);
    }
  } else if (byUser && pageControl == parts_.Object(WindowObject::kSystemPages)) {
    run_.SystemSubPageChanged();
  }
  if (byUser) {
    searchOrigin_ = -1;  // the user is where the user went
    HWND list = parts_.Native(parts_.Object(WindowObject::kServicesList)).hwnd;
    HWND focus = GetFocus();
    if (servicesEntered && list && parts_.selection.ServicesEnabled()) {
      SetFocus(list);
    } else if (!focus || !IsWindowVisible(focus)) {
      // No key may reach a control the page just hid: the focus goes to the
      // first control of the page shown, else to its tabs.
      HWND shown = parts_.Native(pages_.ShownPage(mainPages)).hwnd;
      HWND first = shown ? GetNextDlgTabItem(shown, nullptr, FALSE) : nullptr;
      SetFocus(first && IsChild(shown, first) ? first : parts_.Native(pageControl).hwnd);
    }
  }
  // The new page paints at once; input that waited is handled here.
  platform_.ProcessMessages();
}

}  // namespace kwetro::win32
