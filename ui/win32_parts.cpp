#include "ui/win32_parts.h"

#include <algorithm>

#include "app/win32_text.h"
#include "ui/win32_builders.h"

namespace kwetro::win32 {
namespace {

// The window's font: 8 point Tahoma (11 pixels at 96 DPI), the dialog font
// of Windows XP.
const wchar_t kDefaultFontName[] = L"Tahoma";
constexpr int kDefaultFontHeight = -11;

// The window's client area when the layout gives none.
constexpr int kDefaultClientWidth = 760;
constexpr int kDefaultClientHeight = 600;

HFONT MakeFont(const std::wstring& name, int height, bool bold, bool italic, bool underline) {
  return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, name.c_str());
}

}  // namespace

int ScreenDpi() {
  const WindowDc screen(nullptr);
  const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

int PageKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000)) return 0;
  if (msg.wParam == VK_TAB) return GetKeyState(VK_SHIFT) & 0x8000 ? -1 : 1;
  if (msg.wParam == VK_NEXT) return 1;
  return msg.wParam == VK_PRIOR ? -1 : 0;
}

bool PressFocusedButton(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN) return false;
  HWND focus = GetFocus();
  wchar_t kind[8] = {};
  if (!focus || !GetClassNameW(focus, kind, 8) || lstrcmpiW(kind, L"Button") != 0) return false;
  const LONG_PTR type = GetWindowLongPtrW(focus, GWL_STYLE) & BS_TYPEMASK;
  if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return false;
  SendMessageW(focus, BM_CLICK, 0, 0);
  return true;
}

void MoveDialogFocus(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND next =
      lParam ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(window, GetFocus(), wParam != 0);
  if (next) SetFocus(next);
}

RECT WorkArea(HWND window) {
  MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
  if (window && GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor) &&
      !(monitor.dwFlags & MONITORINFOF_PRIMARY))
    return monitor.rcWork;
  // The primary monitor's as the system keeps it, also where it was set
  // for this program alone.
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

std::wstring LongHint(const std::wstring& hint) {
  const std::size_t bar = hint.find(L'|');
  return bar == std::wstring::npos ? hint : hint.substr(bar + 1);
}

std::wstring ShortHint(const std::wstring& hint) {
  const std::size_t bar = hint.find(L'|');
  return bar == std::wstring::npos ? hint : hint.substr(0, bar);
}

wchar_t MnemonicOf(const std::wstring& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return caption[i + 1];
    ++i;  // "&&" is an ampersand
  }
  return 0;
}

std::wstring WithMnemonic(const std::wstring& caption, wchar_t letter) {
  const std::size_t at = letter ? caption.find(letter) : std::wstring::npos;
  return at == std::wstring::npos ? caption : caption.substr(0, at) + L'&' + caption.substr(at);
}

wchar_t LowerCase(wchar_t letter) {
  wchar_t text[2] = {letter, 0};
  CharLowerW(text);
  return text[0];
}

std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()))));
  return text;
}

WindowParts::WindowParts(const Layout& layout, Selection& selection)
    : layout(layout),
      selection(selection),
      dpi_(ScreenDpi()),
      defaultFont_(MakeFont(kDefaultFontName, FontHeight(kDefaultFontHeight), false, false, false)),
      measureDc_(CreateCompatibleDC(nullptr)) {
  const std::size_t count = layout.items.size();
  natives.assign(count, NativeControl());
  children.assign(count, {});
  built.assign(count, 0);
  for (std::size_t i = 1; i < count; ++i)
    children[static_cast<std::size_t>(layout.items[i].parent)].push_back(static_cast<int>(i));
  // Tab order: by TabOrder where the layout gives one, else in layout order.
  for (auto& list : children)
    std::stable_sort(list.begin(), list.end(), [&layout](int a, int b) {
      return layout.items[static_cast<std::size_t>(a)].Int("TabOrder", 1 << 20) <
             layout.items[static_cast<std::size_t>(b)].Int("TabOrder", 1 << 20);
    });
  natives[0].kind = NativeKind::kWindow;
  for (std::size_t i = 1; i < count; ++i) natives[i].kind = KindOf(layout.items[i]);
  for (std::size_t i = 0; i < count; ++i) ApplyFontAndColors(*this, static_cast<int>(i));
}

int WindowParts::ItemOf(HWND hwnd) const {
  for (; hwnd && hwnd != main; hwnd = GetParent(hwnd)) {
    const int id = GetDlgCtrlID(hwnd);
    // The buttons of the button bar belong to it.
    if (id == kOkButtonId || id == kCancelButtonId || id == kPreviewButtonId)
      for (std::size_t i = 1; i < natives.size(); ++i)
        if (natives[i].kind == NativeKind::kDialogButtons) return static_cast<int>(i);
    const int index = id - kFirstItemId;
    if (index <= 0 || static_cast<std::size_t>(index) >= natives.size()) continue;
    const NativeControl& n = natives[static_cast<std::size_t>(index)];
    if (n.hwnd == hwnd || n.buddy == hwnd) return index;
  }
  return hwnd && hwnd == main ? 0 : -1;
}

int WindowParts::FontHeight(int height) const {
  if (height >= 0) return Scale(height);
  return -MulDiv(MulDiv(-height, 72, 96), dpi_, 72);
}

SIZE WindowParts::DesignClientSize() const {
  const LayoutItem& window = Item(0);
  return {Scale(window.Int("ClientWidth", window.Int("Width", kDefaultClientWidth))),
          Scale(window.Int("ClientHeight", window.Int("Height", kDefaultClientHeight)))};
}

SIZE WindowParts::MinClientSize() const {
  const SIZE design = DesignClientSize();
  const LayoutItem& window = Item(0);
  return {std::min<LONG>(design.cx, Scale(window.Int("MinClientWidth", 1 << 20))),
          std::min<LONG>(design.cy, Scale(window.Int("MinClientHeight", 1 << 20)))};
}

HBRUSH WindowParts::Brush(COLORREF color) {
  UniqueBrush& brush = brushes_[color];
  if (!brush.Get()) brush.Reset(CreateSolidBrush(color));
  return brush.Get();
}

LRESULT WindowParts::ControlColor(HDC dc, HWND control) {
  const int index = ItemOf(control);
  const NativeControl* n = index > 0 ? &Native(index) : nullptr;
  const COLORREF background = n ? n->background : GetSysColor(COLOR_BTNFACE);
  SetBkColor(dc, background);
  SetTextColor(dc, n ? n->textColor : GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(Brush(background));
}

bool WindowParts::SetLinkCursor(HWND over) const {
  const int index = ItemOf(over);
  if (index <= 0 || Native(index).kind != NativeKind::kLink || !IsWindowEnabled(over)) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

HFONT WindowParts::FontFor(const LayoutItem& item, HFONT base, bool underline) {
  const bool own = item.Find("Font.Name") || item.Find("Font.Height") || item.Find("Font.Size") ||
                   item.Find("Font.Style") || underline;
  if (!own || !base) return base;
  LOGFONTW font = {};
  GetObjectW(base, sizeof font, &font);
  std::wstring name = font.lfFaceName;
  int height = font.lfHeight;
  bool bold = font.lfWeight >= FW_BOLD, italic = font.lfItalic != 0;
  underline = underline || font.lfUnderline != 0;
  if (item.Find("Font.Name")) name = Widen(item.Text("Font.Name"));
  if (const int own = item.Int("Font.Height")) height = FontHeight(own);
  if (item.Find("Font.Size")) height = -MulDiv(item.Int("Font.Size", 8), dpi_, 72);
  if (const LayoutProperty* style = item.Find("Font.Style")) {
    bold = style->value.find("fsBold") != std::string::npos;
    italic = style->value.find("fsItalic") != std::string::npos;
    underline = underline || style->value.find("fsUnderline") != std::string::npos;
  }
  fonts_.emplace_back(MakeFont(name, height, bold, italic, underline));
  return fonts_.back().Get();
}

SIZE WindowParts::MeasureText(HFONT font, const std::wstring& text, int wrapWidth,
                              bool mnemonic) const {
  HDC dc = measureDc_.Get();
  const SelectedObject selected(dc, font ? font : defaultFont_.Get());
  RECT r = {0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
  const std::wstring sample = text.empty() ? L" " : text;
  DrawTextW(
      dc, sample.c_str(), static_cast<int>(sample.size()), &r,
      DT_CALCRECT | (mnemonic ? 0 : DT_NOPREFIX) | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  return {text.empty() ? 0 : r.right - r.left, r.bottom - r.top};
}

HWND WindowParts::CreateControl(int index, DWORD exStyle, const wchar_t* cls,
                                const std::wstring& text, DWORD style, const RECT& r, HWND parent) {
  const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstItemId + index));
  HWND hwnd = CreateWindowExW(exStyle, cls, text.c_str(), style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, parent, id, GetModuleHandleW(nullptr), nullptr);
  if (hwnd) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Native(index).font), FALSE);
  return hwnd;
}

}  // namespace kwetro::win32
