// Keyboard use of the main window: Tab and Shift+Tab through the controls in
// tab order, Ctrl+Tab through pages, arrows between options, Enter on a
// button. Space on an option is the button's own click.

// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include <algorithm>

#include "ui/win32_ids.h"
#include "ui/win32_main_window.h"

namespace kwetro::win32 {
namespace {

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool CanFocus(HWND hwnd) { return hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

}  // namespace

void MainWindow::AppendFocusOrder(int component, std::vector<HWND>& order) const {
  const NativeControl& n = natives_[static_cast<std::size_t>(component)];
  switch (n.kind) {
    case NativeKind::kOption:
    case NativeKind::kCombo:
    case NativeKind::kSpinner:
    case NativeKind::kServicesList:
    case NativeKind::kLink:
    case NativeKind::kPageControl:
      if (CanFocus(n.hwnd)) order.push_back(n.hwnd);
      break;
    case NativeKind::kDialogButtons:
      if (CanFocus(n.buddy)) order.push_back(n.buddy);
      if (CanFocus(n.second)) order.push_back(n.second);
      break;
    default:
      break;
  }
  if (n.kind == NativeKind::kWindow || (n.container && IsWindowVisible(n.container)))
    for (int child : children_[static_cast<std::size_t>(component)]) AppendFocusOrder(child, order);
}

std::vector<HWND> MainWindow::FocusOrder() const {
  std::vector<HWND> order;
  if (!natives_.empty()) AppendFocusOrder(0, order);
  return order;
}

void MainWindow::CyclePage(bool forward) {
  // The innermost page control around the focus, else the main one.
  int control = -1;
  for (HWND hwnd = GetFocus(); hwnd && hwnd != hwnd_ && control < 0; hwnd = GetParent(hwnd)) {
    const int index = ComponentOf(hwnd);
    if (index > 0 && natives_[static_cast<std::size_t>(index)].kind == NativeKind::kPageControl)
      control = index;
  }
  if (control < 0) control = Named("PageControl1");
  if (control < 0) return;
  HWND tabs = natives_[static_cast<std::size_t>(control)].hwnd;
  const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  if (count <= 1) return;
  const int current = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
  const int next = ((current < 0 ? 0 : current) + (forward ? 1 : count - 1)) % count;
  SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
  OnPageChanged(control);
}

bool MainWindow::HandleKey(MSG& msg) {
  if (GetAncestor(msg.hwnd, GA_ROOT) != hwnd_) return false;
  const WPARAM key = msg.wParam;
  const bool ctrl = Down(VK_CONTROL), shift = Down(VK_SHIFT);

  if ((key == VK_TAB && ctrl) || (ctrl && (key == VK_PRIOR || key == VK_NEXT))) {
    CyclePage(key == VK_TAB ? !shift : key == VK_NEXT);
    return true;
  }

  HWND focus = GetFocus();
  // A drop-down list that is open keeps its keys; the edit inside a list
  // counts as the list.
  const int focused = ComponentOf(focus);
  if (focused > 0 && natives_[static_cast<std::size_t>(focused)].kind == NativeKind::kCombo) {
    HWND combo = natives_[static_cast<std::size_t>(focused)].hwnd;
    if (SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) return false;
    focus = combo;
  }

  const int component = ComponentOf(focus);
  const NativeKind kind =
      component > 0 ? natives_[static_cast<std::size_t>(component)].kind : NativeKind::kWindow;
  const bool onButton =
      focus && (focus == OkButton() || focus == CancelButton() || kind == NativeKind::kLink);
  int step = 0;
  if (key == VK_TAB && !Down(VK_MENU)) step = shift ? -1 : 1;
  // Arrows move between options and buttons, which have no use for them.
  if ((kind == NativeKind::kOption || onButton) && (key == VK_UP || key == VK_LEFT)) step = -1;
  if ((kind == NativeKind::kOption || onButton) && (key == VK_DOWN || key == VK_RIGHT)) step = 1;
  if (step != 0) {
    const std::vector<HWND> order = FocusOrder();
    if (order.empty()) return true;
    const auto at = std::find(order.begin(), order.end(), focus);
    std::size_t next = 0;
    if (at != order.end()) {
      const std::size_t position = static_cast<std::size_t>(at - order.begin());
      next =
          step > 0 ? (position + 1) % order.size() : (position + order.size() - 1) % order.size();
    } else if (step < 0) {
      next = order.size() - 1;
    }
    // From now on the focus rectangle shows where the keyboard is.
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SetFocus(order[next]);
    return true;
  }
  if (key == VK_RETURN && onButton) {
    SendMessageW(focus, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

}  // namespace kwetro::win32
