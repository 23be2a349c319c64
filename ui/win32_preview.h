// The preview: a window beside the main window that shows, while the user
// chooses, exactly the bytes Apply would write now into each of its files
// (hkcu.reg, hklm.reg, and for every user the files that go with them),
// with the block of the control last changed (or pointed at) in view and
// highlighted. "Сохранить как..." writes the file shown.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/script_files.h"
#include "options/reg_script.h"
#include "options/selection.h"
#include "win32/handles.h"

namespace kwetro::win32 {

// Where the preview and the main window go when the preview opens: beside
// the window where the work area has room for the preview's least size
// (the window moved aside when that makes the room, if it may move), else
// over the right of the window's pages, never over its header (search) or
// its bottom (information line, buttons).
struct PreviewPlace {
  RECT window;
  RECT preview;
};
PreviewPlace PlacePreview(const RECT& work, const RECT& window, const RECT& pages, SIZE wanted,
                          SIZE least, bool windowMoves);

class Preview {
 public:
  explicit Preview(const Selection& selection) : selection_(selection) {}
  ~Preview();
  Preview(const Preview&) = delete;
  Preview& operator=(const Preview&) = delete;

  // Opens the window beside the owner (or brings it forward) with the
  // selection as it is now, at the block of control when given; its tabs,
  // status line and button in the font given. Opened again, it has the size
  // and place it had when it was closed; the first time, it goes beside the
  // owner (PlacePreview; pages: the owner's pages on the screen).
  void Open(HWND owner, HFONT font, const RECT& pages, std::optional<ControlRef> control);
  // Runs when it has moved, changed its size, opened or closed.
  std::function<void()> onPlaced;
  bool IsOpen() const { return window_.Get() != nullptr; }
  // Closes it; opened again, it comes back where it was.
  void Close();
  HWND Handle() const { return window_.Get(); }
  // The selection changed: the files anew, the scroll position kept, and
  // the block of the control brought into view and highlighted when given.
  void Update(std::optional<ControlRef> control);
  // Brings a control's block into view and highlights it, the files unchanged.
  void Highlight(ControlRef control);
  // Which file shows, in the order Apply writes them: 0 hkcu.reg, 1 hklm.reg...
  void ShowFile(int file);
  int ShownFile() const { return shown_; }
  // The names of the files it shows, as its tabs do.
  std::vector<std::wstring> FileNames() const;
  // The keyboard of the preview: Tab, Ctrl+Tab (Ctrl+Shift+Tab) through the
  // files, Esc and F4 close it.
  bool PreTranslate(MSG& msg);
  // Writes the file shown, as "Сохранить как..." does once a name is chosen.
  bool SaveTo(const std::string& path, std::string& reason) const;
  // The text shown.
  std::wstring Text() const;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Create(HWND owner, HFONT font, const RECT& pages);
  // Its tabs, text, status line and button, in the window's font.
  void CreateControls(HFONT font);
  // Where it was when it was last closed, if that is still on the screen;
  // else beside the main window (which may move for it), or over its pages.
  void Place(HWND owner, const RECT& pages);
  // WM_DESTROY: where it stands, to open there again.
  void RememberPlace(HWND hwnd);
  // WM_NCDESTROY: closed, nothing is lost; the next opening shows the
  // selection anew.
  void Closed();
  // Its least size keeps the status line and the button whole.
  SIZE LeastSize(HFONT font) const;
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  void Arrange();
  void Show(std::optional<ControlRef> control);
  // The tabs name the files.
  void SetTabs();
  // The file that holds a control's block, else the one shown.
  int FileOf(ControlRef control) const;
  void SaveAs();

  const Selection& selection_;
  UniqueWindow window_;
  HWND tabs_ = nullptr, text_ = nullptr, status_ = nullptr, save_ = nullptr;
  UniqueFont textFont_;
  std::vector<ScriptFile> files_;
  std::wstring shownText_;
  int shown_ = 0;
  int dpi_ = 96;
  SIZE least_ = {};
  std::optional<RECT> place_;  // where it was when it was closed
};

}  // namespace kwetro::win32
