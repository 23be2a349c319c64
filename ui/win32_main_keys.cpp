// The window's keyboard: every message passes here before it is dispatched.
// The preview's keys first, then the window's own (F3, F4, F5, Ctrl+F, Esc,
// Enter in the search field), the mnemonics, Ctrl+Tab through the pages, and
// the system's dialog keyboard for Tab, the arrows and the buttons.
// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include <algorithm>

#include "app/win32_text.h"
#include "ui/win32_builders.h"
#include "ui/win32_main_window.h"
#include "ui/win32_tab_order.h"

namespace kwetro::win32 {
namespace {

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

bool MainWindow::HandleKey(const MSG& msg) {
  const bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT);
  const bool inSearch = msg.hwnd == search_.Field();
  switch (msg.wParam) {
    case VK_F4:
      // The preview's key opens and closes it, as a tool window's.
      if (preview_.IsOpen())
        preview_.Close();
      else
        OpenPreview();
      return true;
    case VK_F5:
      CompareWithMachine();
      return true;
    case VK_F3:
      search_.Next(!shift, !inSearch);
      return true;
    case 'F':
      if (!ctrl) return false;
      search_.Focus();
      return true;
    case VK_RETURN:
      if (!inSearch) return false;
      search_.Next(!shift, false);
      return true;
    case VK_ESCAPE:
      // Anywhere in the window, unless it closes an open drop-down list: the
      // search first, then the preview.
      if (DroppedDown(GetFocus())) return false;
      if (GetWindowTextLengthW(search_.Field()) > 0) {
        // In the field, after Enter went to a match, the keys go there.
        const std::optional<ControlRef> went = inSearch ? search_.Visited() : std::nullopt;
        search_.Clear();
        if (went) {
          GoTo(*went, true);
          ClearHighlights();
        }
        return true;
      }
      if (!preview_.IsOpen()) return false;
      preview_.Close();
      return true;
    default:
      return false;
  }
}

bool MainWindow::DroppedDown(HWND focus) const {
  const int index = parts_.ItemOf(focus);
  return index > 0 && parts_.Native(index).kind == NativeKind::kCombo &&
         SendMessageW(parts_.Native(index).hwnd, CB_GETDROPPEDSTATE, 0, 0);
}

bool MainWindow::PressMnemonic(wchar_t letter) {
  const wchar_t key = LowerCase(letter);
  const NativeControl& bar = parts_.Native(parts_.Object(WindowObject::kButtons));
  HWND machine = parts_.Native(parts_.Object(WindowObject::kMachineButton)).hwnd;
  for (HWND button : {bar.third, bar.buddy, bar.second, machine})
    if (button && IsWindowEnabled(button) && LowerCase(MnemonicOf(TextOf(button))) == key) {
      SendMessageW(button, BM_CLICK, 0, 0);
      return true;
    }
  // A label's letter goes to the control it names.
  for (const NativeControl& label : parts_.natives) {
    if (label.focusControl < 0 || LowerCase(MnemonicOf(label.text)) != key) continue;
    pages_.EnsureBuilt(label.focusControl);
    HWND target = parts_.Native(label.focusControl).hwnd;
    if (target == search_.Field())
      search_.Focus();
    else if (target)
      SetFocus(target);
    return true;
  }
  return false;
}

void MainWindow::CyclePage(bool forward) {
  // One walk through every page the user reads, whatever holds the focus.
  const std::vector<int> pages = pages_.InnermostPages();
  if (pages.size() < 2) return;
  const auto shown = std::find(pages.begin(), pages.end(),
                               pages_.ShownPage(parts_.Object(WindowObject::kMainPages)));
  const std::size_t at = shown == pages.end() ? 0 : static_cast<std::size_t>(shown - pages.begin());
  ShowPage(pages[(at + (forward ? 1 : pages.size() - 1)) % pages.size()], true);
}

void MainWindow::NoticeFocus() {
  HWND focus = GetFocus();
  if (focus == noticedFocus_) return;
  noticedFocus_ = focus;
  if (!focus || GetAncestor(focus, GA_ROOT) != parts_.main) return;
  // Once the user is elsewhere, the page a search showed is where they are.
  if (focus != search_.Field()) searchOrigin_ = -1;
  const int index = parts_.ItemOf(focus);
  if (index >= 0) info_.Explain(index);
}

bool MainWindow::PreTranslate(MSG& msg) {
  const bool handled = Route(msg);
  NoticeFocus();
  return handled;
}

bool MainWindow::Route(MSG& msg) {
  if (preview_.PreTranslate(msg)) return true;
  if (GetAncestor(msg.hwnd, GA_ROOT) != parts_.main) return false;
  // Alt+F4 held down repeats: the repeat of the one that closed the preview
  // would reach the window under it and close the program.
  if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4 && (msg.lParam & (1L << 30))) return true;
  if (msg.message == WM_KEYDOWN && HandleKey(msg)) return true;
  if (msg.message == WM_SYSCHAR && PressMnemonic(static_cast<wchar_t>(msg.wParam))) return true;
  // A letter typed is the focused control's own: the dialog keyboard would
  // take a letter typed on an option for a button's mnemonic.
  if (msg.message == WM_CHAR) return false;
  if (msg.message == WM_MOUSEMOVE) {
    POINT at = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    ClientToScreen(msg.hwnd, &at);
    info_.MouseOver(msg.hwnd, at);
    // In the services list the line speaks of the row under the mouse.
    const int list = parts_.Object(WindowObject::kServicesList);
    if (list > 0 && msg.hwnd == parts_.Native(list).hwnd) {
      const LRESULT hit = SendMessageW(msg.hwnd, LB_ITEMFROMPOINT, 0, msg.lParam);
      if (!HIWORD(hit) && marks_.SetServiceRow(LOWORD(hit))) info_.Explain(list);
    }
    return false;
  }
  if (const int step = PageKey(msg)) {
    CyclePage(step > 0);
    return true;
  }
  if (PressFocusedButton(msg)) return true;
  // Enter elsewhere means nothing but on the link, the menu button or in an
  // open drop-down: on an option or a list it would reach the window as "OK"
  // from the dialog manager.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    const int index = parts_.ItemOf(GetFocus());
    const NativeKind kind = index > 0 ? parts_.Native(index).kind : NativeKind::kWindow;
    if (kind != NativeKind::kLink && kind != NativeKind::kMenuButton)
      return !DroppedDown(GetFocus());
  }
  // Tab and Shift+Tab: the tabs of a page before the page.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && !KeyDown(VK_CONTROL))
    if (HWND next =
            NextTabStop(TabStops(parts_.main, pages_.TabRows()), GetFocus(), KeyDown(VK_SHIFT))) {
      SendMessageW(parts_.main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
      return true;
    }
  // Arrows within a page, space and Enter on buttons, Tab elsewhere: the
  // system's dialog keyboard.
  return IsDialogMessageW(parts_.main, &msg) != FALSE;
}

}  // namespace kwetro::win32
