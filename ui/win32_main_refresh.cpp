// Showing the selection: each control takes the values the selection holds
// after a change, or when it is created, and the OK button its caption.
// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "app/win32_text.h"
#include "catalogue/control_lines.h"
#include "options/number_text.h"
#include "ui/win32_builders.h"
#include "ui/win32_main_window.h"

namespace kwetro::win32 {

void MainWindow::SelectionChanged() {
  updating_ = true;
  spinnersWritten_ = SpinnersWritten(parts_.selection);
  // Controls of pages not yet shown are left alone: they take the
  // selection's values when they are created.
  for (std::size_t i = 1; i < parts_.natives.size(); ++i) Refresh(static_cast<int>(i));
  services_.Refresh();
  if (run_.CountdownRunning() != countdownRunning_) {
    countdownRunning_ = run_.CountdownRunning();
    if (countdownRunning_)
      SetTimer(parts_.main, kCountdownTimerId,
               parts_.Native(parts_.Object(WindowObject::kCountdownTimer)).interval, nullptr);
    else
      KillTimer(parts_.main, kCountdownTimerId);
  }
  updating_ = false;
  marks_.Judge();
  info_.Refresh();
  if (preview_.IsOpen()) preview_.Update(changed_);
}

void MainWindow::Changed(ControlRef control) {
  changed_ = control;
  SelectionChanged();
}

void MainWindow::OnBuilt(int index) {
  const bool wasUpdating = updating_;
  updating_ = true;  // the new controls take the selection's values, not give them
  if (parts_.Native(index).kind == NativeKind::kServicesList) services_.Attach(index);
  info_.UpdateTool(index);
  Refresh(index);
  updating_ = wasUpdating;
}

void MainWindow::Refresh(int index) {
  NativeControl& n = parts_.Native(index);
  const LayoutItem& item = parts_.Item(index);
  const auto i = static_cast<std::size_t>(item.index);
  if (!n.hwnd && !n.buddy) return;
  switch (n.kind) {
    case NativeKind::kOption:
      RefreshOption(index);
      break;
    case NativeKind::kCombo: {
      const int row = ComboRow(parts_.selection.combos[i], Controls().combos[i]);
      if (SendMessageW(n.hwnd, CB_GETCURSEL, 0, 0) != row)
        SendMessageW(n.hwnd, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
      break;
    }
    case NativeKind::kSpinner: {
      const int value = parts_.selection.spinners[i];
      if (static_cast<int>(SendMessageW(n.buddy, UDM_GETPOS32, 0, 0)) != value ||
          GetWindowTextLengthW(n.hwnd) == 0) {
        SendMessageW(n.buddy, UDM_SETPOS32, 0, value);
        SetWindowTextW(n.hwnd, WideDecimal(value).c_str());
      }
      // A value the scripts do not hold now looks as inactive as it is.
      const bool written = spinnersWritten_[i];
      if ((IsWindowEnabled(n.hwnd) != FALSE) != written) {
        EnableWindow(n.hwnd, written);
        EnableWindow(n.buddy, written);
        info_.SetDimmed(parts_.Named(Controls().spinners[i].label), !written);
      }
      break;
    }
    case NativeKind::kDialogButtons: {
      // The countdown's caption keeps the letter Alt presses the button with.
      const std::wstring ok = WithMnemonic(Widen(run_.OkCaption()), MnemonicOf(TextOf(n.buddy)));
      if (ok != shownOk_) {
        shownOk_ = ok;
        SetWindowTextW(n.buddy, ok.c_str());
        pages_.ArrangeButtons(index);
      }
      break;
    }
    default:
      break;
  }
}

void MainWindow::RefreshOption(int index) {
  NativeControl& n = parts_.Native(index);
  const int option = parts_.Item(index).index;
  const std::wstring caption = Widen(parts_.selection.Caption(option));
  if (caption != n.text) {
    n.text = caption;
    SetWindowTextW(n.hwnd, n.text.c_str());
    AutoSize(parts_, index);
    pages_.ContentChanged(index);
    InvalidateRect(n.hwnd, nullptr, FALSE);
  }
  if (parts_.selection.State(option) != n.state) {
    n.state = parts_.selection.State(option);
    InvalidateRect(n.hwnd, nullptr, FALSE);
  }
  info_.SetHint(index, Widen(parts_.selection.Hint(option)));
}

}  // namespace kwetro::win32
