// The main window: a view of the form model. It creates one native control
// per control of the window description, forwards the user's clicks into the
// model and the run control, and repaints from the model.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/platform_win32.h"
#include "app/run_control.h"
#include "options/form.h"
#include "ui/win32_paint.h"

namespace kwetro::win32 {

enum class NativeKind {
  kWindow,
  kPageControl,
  kPage,
  kPanel,
  kGroupBox,
  kLabel,
  kImage,
  kOption,
  kCombo,
  kSpinner,
  kServicesList,
  kDialogButtons,
  kLink,
  kTimer,
  kOther,
};

// The native side of one component of the description. Labels and images
// have no window of their own: the window that holds them paints them, which
// spares the system a window for each piece of text in the header and on the
// pages.
struct NativeControl {
  NativeKind kind = NativeKind::kOther;
  HWND hwnd = nullptr;       // the control (a spinner's edit, a button bar's panel)
  HWND buddy = nullptr;      // a spinner's up-down; a button bar's OK button
  HWND second = nullptr;     // a button bar's Cancel button
  HWND container = nullptr;  // where the component's children live
  std::wstring text;         // caption as shown
  std::wstring hint;         // current hint, "short|long"
  HFONT font = nullptr;
  COLORREF textColor = 0;
  COLORREF background = 0;  // what the control and its children paint behind text
  bool autoSize = false;
  bool wordWrap = false;
  int alignment = 0;           // 0 left, 1 right, 2 centre
  int glyph = -1;              // an image's state glyph, -1 for none
  Frame frame = Frame::kNone;  // containers: bevel or group frame
  bool drawsCaption = false;   // panels show their caption centred
  int timerId = 0;
  unsigned interval = 1000;
  RECT bounds = {};  // in the parent container's client coordinates
  bool visible = true;  // labels and images; controls with a window keep their own

  bool IsGraphic() const { return kind == NativeKind::kLabel || kind == NativeKind::kImage; }
};

class MainWindow : public RunControlView {
 public:
  MainWindow(Form& form, Win32Platform& platform);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Builds the window and its controls, then runs the start-up steps
  // (settings file, folders). False when the window could not be created.
  bool Create();
  // Shows the window; the activation steps follow from the message loop.
  void Show(int showCommand);

  // RunControlView.
  void ShowFirstPages() override;
  void FocusFirstOption() override;
  void DisableFolderLink() override;
  void FormChanged() override;
  void FocusCancel() override;
  void EndApplication() override;
  void ShowError(const std::string& message) override;

  // Replace how the program ends and how errors reach the user (tests).
  std::function<void()> onEnd;
  std::function<void(const std::wstring&)> onError;

  HWND Handle() const { return hwnd_; }
  RunControl& Control() { return run_; }
  Form& Model() { return form_; }
  // The native control of a component by name; null when there is none.
  // A control on a page not yet shown is created first.
  const NativeControl* Find(const std::string& name) const;
  HWND Window(const std::string& name) const;
  HWND OkButton() const;
  HWND CancelButton() const;
  // Text of the information line.
  std::wstring InfoText() const;
  // Every component's native side, in component order; the controls of
  // pages not yet shown are created first.
  const std::vector<NativeControl>& Natives() const;
  const std::wstring& CurrentHint() const { return currentHint_; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ServicesListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  // Building (win32_window_builder.cpp).
  bool RegisterClasses();
  void BuildControls();
  void BuildChildren(int parent);
  void BuildComponent(int index);
  // Creates the controls of a page the first time they are needed.
  void BuildPage(int page);
  // Creates whatever pages a component lives on.
  void EnsureBuilt(int index);
  void CreatePageWindow(int page);
  // A tab control's display area, which each of its pages fills.
  RECT PageArea(int pageControl) const;
  // A control of the component at index, with the component's font.
  HWND CreateControl(int index, DWORD exStyle, const wchar_t* cls, const std::wstring& text,
                     DWORD style, const RECT& r, HWND parent);
  void SetComposited();
  void ApplyFontAndColors(int index);
  RECT PlaceComponent(int index, HWND parentContainer);
  void AlignChildren(int parent);
  SIZE MeasureText(HFONT font, const std::wstring& text, int wrapWidth = 0) const;
  // Where an auto-sized control goes for its text, from its place r.
  RECT AutoSizedBounds(int index, RECT r) const;
  void AutoSizeControl(int index);
  void CreateTooltip();

  // Behaviour (win32_main_window.cpp).
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code, HWND control);
  void OnNotify(NMHDR* header);
  void OnDrawItem(DRAWITEMSTRUCT* item);
  LRESULT OnControlColor(HDC dc, HWND control);
  bool PreTranslate(MSG& msg);
  void OnMouseOver(HWND hwnd, POINT screenPoint);
  void ShowPageOf(int pageControl);
  void OnPageChanged(int pageControl);
  void MainPageChange(int pageIndex);
  void ApplyLegend(bool servicesPage);
  void SetLabelText(int index, const std::wstring& text);
  void SetHint(int index, const std::wstring& hint);
  // The pop-up hint of a component as it stands (hint, place, visibility).
  void UpdateTool(int index);
  // Labels and images: paints those of a container; the one under a point
  // of the container's client area, or -1.
  void PaintGraphics(int container, HDC dc);
  int GraphicAt(int container, POINT client) const;
  void SetGraphicVisible(int index, bool visible);
  void MoveGraphic(int index, POINT at);
  // Repaints where a label or image was and is.
  void InvalidateGraphic(int index, const RECT& before);
  void ShowLongHint();
  void RefreshOption(int index);
  void RefreshControl(int index);
  void OpenScriptFolder();
  int ComponentOf(HWND hwnd) const;
  int Named(const char* name) const;
  HBRUSH Brush(COLORREF color);

  // Keyboard (win32_keyboard.cpp).
  bool HandleKey(MSG& msg);
  std::vector<HWND> FocusOrder() const;
  void AppendFocusOrder(int component, std::vector<HWND>& order) const;
  void CyclePage(bool forward);

  Form& form_;
  Win32Platform& platform_;
  RunControl run_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  HFONT defaultFont_ = nullptr;
  std::vector<NativeControl> natives_;
  std::vector<std::vector<int>> children_;  // in tab order
  // Containers whose children exist: pages get theirs when first shown.
  std::vector<char> built_;
  // Components created since the last page build was finished.
  std::vector<int> fresh_;
  std::map<COLORREF, HBRUSH> brushes_;
  std::vector<HFONT> ownedFonts_;
  // Texts are measured on a memory DC of their own: a window DC per
  // measurement costs more than the measuring.
  mutable HDC measureDc_ = nullptr;
  // Last shown model values, so that a refresh touches only what changed.
  std::vector<std::string> shownCaptions_;
  std::vector<int> shownStates_;
  std::vector<TriState> shownServiceStates_;
  std::string shownCaptionOk_;
  bool countdownRunning_ = false;
  bool servicesEnabled_ = true;
  bool activated_ = false;
  bool updating_ = false;  // changes made by the view, not by the user
  int hoverComponent_ = -1;
  bool infoShown_ = false;
  HWND lastFocus_ = nullptr;
  std::wstring currentHint_;
  int serviceItemHeight_ = 18;
};

// The part of a hint the information line shows: after the first "|", or
// the whole hint when it has none.
std::wstring LongHint(const std::wstring& hint);
// The part a pop-up shows: before the first "|", or the whole hint.
std::wstring ShortHint(const std::wstring& hint);
// Windows-1251 model text for the "W" functions.
std::wstring Wide(const std::string& cp1251);

}  // namespace kwetro::win32
