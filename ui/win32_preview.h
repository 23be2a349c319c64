// The preview: a window beside the main window that shows, while the user
// chooses, exactly the bytes Apply would write now into hkcu.reg and hklm.reg,
// with the block of the control last changed (or pointed at) in view and
// marked. "Сохранить как..." writes the file shown.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "win32/handles.h"
#include "options/reg_script.h"
#include "options/selection.h"

namespace kwetro::win32 {

class Preview {
 public:
  explicit Preview(const Selection& selection) : selection_(selection) {}
  ~Preview();
  Preview(const Preview&) = delete;
  Preview& operator=(const Preview&) = delete;

  // Opens the window beside the owner (or brings it forward) with the
  // selection as it is now; its tabs, status line and button in the font given.
  void Open(HWND owner, HFONT font);
  bool IsOpen() const { return window_.Get() != nullptr; }
  HWND Handle() const { return window_.Get(); }
  // The selection changed: both files anew, the scroll position kept, and
  // the block of the control brought into view and marked when given.
  void Update(std::optional<ControlRef> control);
  // Brings a control's block into view and marks it, the files unchanged.
  void Mark(ControlRef control);
  // Which file shows: 0 hkcu.reg, 1 hklm.reg.
  void ShowFile(int file);
  int ShownFile() const { return shown_; }
  // The keyboard of the preview: Tab, Ctrl+Tab between the files, Esc closes.
  bool PreTranslate(MSG& msg);
  // Writes the file shown, as "Сохранить как..." does once a name is chosen.
  bool SaveTo(const std::string& path, std::string& reason) const;
  // The text shown.
  std::wstring Text() const;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Create(HWND owner, HFONT font);
  void Arrange();
  void Show(std::optional<ControlRef> control);
  void SaveAs();

  const Selection& selection_;
  UniqueWindow window_;
  HWND tabs_ = nullptr, text_ = nullptr, status_ = nullptr, save_ = nullptr;
  UniqueFont textFont_;
  RegScript files_[2];
  std::wstring shownText_;
  int shown_ = 0;
};

}  // namespace kwetro::win32
