// The native side of the window: one NativeControl per item of the layout,
// the fonts and brushes they use, and the lookups every part of the window
// needs (by name, by window handle).
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "options/selection.h"
#include "ui/layout.h"
#include "ui/win32_paint.h"
#include "win32/handles.h"

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
  kMenuButton,
  kTimer,
  kEdit,
  kOther,
};

// The edges of its parent a control keeps its distance to when the parent
// is resized (the layout's Anchors). Anchored to both edges of a direction,
// it stretches; to the far edge only, it moves.
constexpr unsigned kAnchorLeft = 1, kAnchorTop = 2, kAnchorRight = 4, kAnchorBottom = 8;

// Labels and images have no window of their own: the window that holds them
// paints them, which spares the system a window for each piece of text.
struct NativeControl {
  NativeKind kind = NativeKind::kOther;
  HWND hwnd = nullptr;       // the control (a spinner's edit; none for a button bar)
  HWND buddy = nullptr;      // a spinner's up-down; a button bar's OK button
  HWND second = nullptr;     // a button bar's Cancel button
  HWND third = nullptr;      // a button bar's Preview button
  HWND container = nullptr;  // where the item's children live
  std::wstring text;         // caption as shown
  std::wstring hint;         // current hint, "short|long"
  HFONT font = nullptr;
  COLORREF textColor = 0;
  COLORREF background = 0;  // what the control and its children paint behind text
  bool autoSize = false;
  bool wordWrap = false;
  int alignment = 0;  // 0 left, 1 right, 2 centre
  int glyph = -1;     // an image's state glyph or machine mark (kMachineMarkGlyphs), -1 for none
  Frame frame = Frame::kNone;  // containers: bevel or group frame
  bool drawsCaption = false;   // panels show their caption centred
  unsigned interval = 1000;    // timers
  int state = -1;              // an option's state as drawn
  bool highlighted = false;    // shown as a search found it
  bool dimmed = false;         // labels: in the grey of what is not written
  int focusControl = -1;       // labels: the item their underlined letter goes to
  RECT bounds = {};            // in the parent container's client coordinates
  bool visible = true;         // labels and images; controls with a window keep their own
  unsigned anchors = kAnchorLeft | kAnchorTop;  // the parent's edges it keeps its distance to
  POINT moved = {};  // how far the anchors moved it from its place in the layout
  SIZE grown = {};   // and how much they widened or heightened it

  bool IsGraphic() const { return kind == NativeKind::kLabel || kind == NativeKind::kImage; }
};

// The part of a hint the information line shows: after the first "|", or the
// whole hint when it has none; and the part a pop-up shows: before it.
std::wstring LongHint(const std::wstring& hint);
std::wstring ShortHint(const std::wstring& hint);

// Mnemonics: the letter after "&" in a caption (0 for none), and a caption
// with "&" put before the first such letter.
wchar_t MnemonicOf(const std::wstring& caption);
std::wstring WithMnemonic(const std::wstring& caption, wchar_t letter);
wchar_t LowerCase(wchar_t letter);
std::wstring TextOf(HWND hwnd);

// The dialog keyboard for a window that is not a dialog box, beside
// IsDialogMessage. Ctrl+Tab, Ctrl+PgDn: the next page (1); Ctrl+Shift+Tab,
// Ctrl+PgUp: the previous one (-1); any other message 0.
int PageKey(const MSG& msg);
// Enter on a push button that has the focus presses it (the dialog manager
// would send the window "OK" instead); true when it did.
bool PressFocusedButton(const MSG& msg);
// WM_NEXTDLGCTL: the focus to the control the dialog keyboard asks for.
void MoveDialogFocus(HWND window, WPARAM wParam, LPARAM lParam);

// The screen's pixels per inch: 96, or 120 with Windows XP's large fonts.
int ScreenDpi();

// The work area (the screen without the taskbar) of the monitor a window
// is on; of the primary monitor for none.
RECT WorkArea(HWND window);

// Identifiers: a control's child-window identifier is this plus its index in
// the layout, so that notifications name the item directly.
constexpr int kFirstItemId = 100;
constexpr int kOkButtonId = 0x7F01;
constexpr int kCancelButtonId = 0x7F02;
constexpr int kPreviewButtonId = 0x7F03;

constexpr UINT_PTR kHousekeepingTimerId = 1;  // Timer1
constexpr UINT_PTR kCountdownTimerId = 2;     // Timer2
// Posted once the window is shown, to run the activation steps.
constexpr UINT kActivateMessage = WM_APP + 1;
// The window class of panels and pages: they paint their background, frame
// and the labels and images they hold, and pass their controls' messages on
// to the main window.
constexpr wchar_t kContainerClass[] = L"KwetroContainer";

class WindowParts {
 public:
  WindowParts(const Layout& layout, Selection& selection);

  const Layout& layout;
  Selection& selection;
  HWND main = nullptr;
  std::vector<NativeControl> natives;      // by layout item
  std::vector<std::vector<int>> children;  // by layout item, in tab order
  std::vector<char> built;                 // containers whose children exist

  const LayoutItem& Item(int index) const { return layout.items[static_cast<std::size_t>(index)]; }
  NativeControl& Native(int index) { return natives[static_cast<std::size_t>(index)]; }
  // The colour an item paints behind its text: its own, or the highlight.
  COLORREF Background(int index) const {
    return Native(index).highlighted ? kHighlightColor : Native(index).background;
  }
  const NativeControl& Native(int index) const { return natives[static_cast<std::size_t>(index)]; }
  int Named(std::string_view name) const { return layout.Named(name); }
  int Object(WindowObject object) const { return layout.Object(object); }
  // The item whose control (or spinner up-down) is hwnd or holds it; 0 for
  // the window itself, -1 for none.
  int ItemOf(HWND hwnd) const;

  HBRUSH Brush(COLORREF color);
  // WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: a control's text colour on its
  // background, the system's colours for a window that is no item.
  LRESULT ControlColor(HDC dc, HWND control);
  // WM_SETCURSOR: the hand over an enabled link, as over a link anywhere;
  // false over anything else.
  bool SetLinkCursor(HWND over) const;
  // The layout is in pixels at 96 DPI; the window has the screen's DPI
  // (120 with Windows XP's large fonts), and its fonts and places grow with it.
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  RECT Scale(const RECT& r) const {
    return {Scale(r.left), Scale(r.top), Scale(r.right), Scale(r.bottom)};
  }
  // A font height of the layout (pixels at 96 DPI) at this DPI: by whole
  // points, as the system sizes its own fonts (8 points: 11 pixels at 96
  // DPI, 13 at 120; Wine's Tahoma at the 14 of plain scaling draws wider
  // than it measures).
  int FontHeight(int height) const;
  HFONT DefaultFont() const { return defaultFont_.Get(); }
  // The window's client area as the layout designs it, and the least it
  // takes (the layout's MinClientWidth and MinClientHeight), at this DPI.
  SIZE DesignClientSize() const;
  SIZE MinClientSize() const;
  // A font made from base with the item's Font.* properties.
  HFONT FontFor(const LayoutItem& item, HFONT base, bool underline);
  // With mnemonic set, "&" marks the underlined letter and takes no room.
  SIZE MeasureText(HFONT font, const std::wstring& text, int wrapWidth = 0,
                   bool mnemonic = false) const;
  // A child window of the item, with the item's font.
  HWND CreateControl(int index, DWORD exStyle, const wchar_t* cls, const std::wstring& text,
                     DWORD style, const RECT& r, HWND parent);

 private:
  int dpi_ = 96;
  UniqueFont defaultFont_;
  std::vector<UniqueFont> fonts_;
  std::map<COLORREF, UniqueBrush> brushes_;
  // Texts are measured on a memory DC of their own: a window DC per
  // measurement costs more than the measuring.
  UniqueDc measureDc_;
};

}  // namespace kwetro::win32
