// Building the main window from the window description: one native control
// per component, placed, aligned, with fonts and colours.

// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <cstdlib>

#include "ui/win32_ids.h"
#include "ui/win32_main_window.h"
#include "ui/win32_paint.h"

namespace kwetro::win32 {
namespace {

const wchar_t kMainClass[] = L"KwetroMainWindow";
const wchar_t kContainerClass[] = L"KwetroContainer";

// The window's font: 8 point Tahoma at 96 DPI, the dialog font of Windows XP.
const wchar_t kDefaultFontName[] = L"Tahoma";
constexpr int kDefaultFontHeight = -11;

constexpr int kDefaultClientWidth = 760;
constexpr int kDefaultClientHeight = 600;
constexpr int kOptionHeight = 17;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 6;
constexpr int kButtonMargin = 8;
constexpr int kComboDropHeight = 200;

bool IsTrue(const Component& c, const char* name, bool fallback) {
  const Property* p = c.Find(name);
  if (!p) return fallback;
  return p->value == "True";
}

NativeKind KindOf(const Component& c, bool isWindow) {
  if (isWindow) return NativeKind::kWindow;
  const std::string& k = c.className;
  if (c.kind == ControlKind::kOption) return NativeKind::kOption;
  if (c.kind == ControlKind::kCombo) return NativeKind::kCombo;
  if (c.kind == ControlKind::kSpinner) return NativeKind::kSpinner;
  if (c.kind == ControlKind::kCheckList) return NativeKind::kServicesList;
  if (k == "TPageControl") return NativeKind::kPageControl;
  if (k == "TTabSheet") return NativeKind::kPage;
  if (k == "TLabel" || k == "TRzLabel") return NativeKind::kLabel;
  if (k == "TImage") return NativeKind::kImage;
  if (k == "TRzDialogButtons") return NativeKind::kDialogButtons;
  if (k == "TRzURLLabel") return NativeKind::kLink;
  if (k == "TTimer") return NativeKind::kTimer;
  if (k == "TGroupBox" || k == "TRzGroupBox") return NativeKind::kGroupBox;
  if (k == "TPanel" || k == "TRzPanel" || k == "TBevel") return NativeKind::kPanel;
  return NativeKind::kOther;
}

// Colour names of the window description (clWhite, clBtnFace, ...) and
// numbers ("$00BBGGRR", decimal, "0x..."); system
// colours carry their index in the low byte with the top bit set.
bool ParseColor(const std::string& text, COLORREF& color) {
  static const struct {
    const char* name;
    long value;
  } kNamed[] = {
      {"clBlack", 0x000000},
      {"clMaroon", 0x000080},
      {"clGreen", 0x008000},
      {"clOlive", 0x008080},
      {"clNavy", 0x800000},
      {"clPurple", 0x800080},
      {"clTeal", 0x808000},
      {"clGray", 0x808080},
      {"clSilver", 0xC0C0C0},
      {"clRed", 0x0000FF},
      {"clLime", 0x00FF00},
      {"clYellow", 0x00FFFF},
      {"clBlue", 0xFF0000},
      {"clFuchsia", 0xFF00FF},
      {"clAqua", 0xFFFF00},
      {"clWhite", 0xFFFFFF},
      {"clBtnFace", -COLOR_BTNFACE - 1},
      {"clWindow", -COLOR_WINDOW - 1},
      {"clWindowText", -COLOR_WINDOWTEXT - 1},
      {"clBtnText", -COLOR_BTNTEXT - 1},
      {"clInfoBk", -COLOR_INFOBK - 1},
      {"clHighlight", -COLOR_HIGHLIGHT - 1},
      {"clGrayText", -COLOR_GRAYTEXT - 1},
  };
  for (const auto& named : kNamed) {
    if (text != named.name) continue;
    color = named.value < 0 ? GetSysColor(static_cast<int>(-named.value - 1))
                            : static_cast<COLORREF>(named.value);
    return true;
  }
  if (text.empty()) return false;
  char* end = nullptr;
  const unsigned long value = text[0] == '$' ? std::strtoul(text.c_str() + 1, &end, 16)
                                             : std::strtoul(text.c_str(), &end, 0);
  if (!end || *end != '\0') return false;
  color = (value & 0x80000000UL) ? GetSysColor(static_cast<int>(value & 0xFF))
                                 : static_cast<COLORREF>(value & 0xFFFFFF);
  return true;
}

struct FontSpec {
  std::wstring name = kDefaultFontName;
  int height = kDefaultFontHeight;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

std::wstring Caption(const Component& c) { return Wide(c.Text("Caption")); }

}  // namespace

bool MainWindow::RegisterClasses() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);

  wc.lpfnWndProc = &MainWindow::WindowProc;
  wc.lpszClassName = kMainClass;
  // No icon of its own: the system shows its default one. (A class icon
  // costs a small copy made from it at registration, before the window shows.)
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  wc.lpfnWndProc = &MainWindow::ContainerProc;
  wc.lpszClassName = kContainerClass;
  return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool MainWindow::Create() {
  INITCOMMONCONTROLSEX init = {
      sizeof init, ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  if (!RegisterClasses()) return false;
  defaultFont_ = CreateFontW(kDefaultFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kDefaultFontName);
  ownedFonts_.push_back(defaultFont_);

  const std::size_t count = form_.components.size();
  natives_.assign(count, NativeControl());
  children_.assign(count, {});
  built_.assign(count, 0);
  fresh_.clear();
  for (std::size_t i = 1; i < count; ++i) {
    const int parent = form_.components[i].parent;
    if (parent >= 0) children_[static_cast<std::size_t>(parent)].push_back(static_cast<int>(i));
  }
  // Tab order: by TabOrder where the description gives one, otherwise in
  // component order.
  for (auto& list : children_)
    std::stable_sort(list.begin(), list.end(), [this](int a, int b) {
      return form_.components[a].Int("TabOrder", 1 << 20) <
             form_.components[b].Int("TabOrder", 1 << 20);
    });
  for (std::size_t i = 0; i < count; ++i) {
    natives_[i].kind = KindOf(form_.components[i], i == 0);
    ApplyFontAndColors(static_cast<int>(i));
  }

  // The window itself.
  const Component& window = form_.components[0];
  NativeControl& main = natives_[0];
  main.text = Caption(window);
  RECT frame = {0, 0, window.Int("ClientWidth", window.Int("Width", kDefaultClientWidth)),
                window.Int("ClientHeight", window.Int("Height", kDefaultClientHeight))};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = std::max<int>(work.left, work.left + (work.right - work.left - width) / 2);
  const int y = std::max<int>(work.top, work.top + (work.bottom - work.top - height) / 2);
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kMainClass, main.text.c_str(), style, x, y, width,
                          height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  main.hwnd = main.container = hwnd_;

  // The services list asks for its item height while it is being created.
  const SIZE sample = MeasureText(natives_[0].font, L"Ag");
  serviceItemHeight_ = std::max(kGlyphSize + 4, static_cast<int>(sample.cy) + 5);

  // Pages stay hidden until the window is activated; each gets its controls
  // the first time it is shown, so that the window appears sooner.
  BuildChildren(0);
  fresh_.clear();

  shownCaptions_.assign(form_.options.size(), std::string());
  shownStates_.assign(form_.options.size(), -1);
  for (std::size_t i = 0; i < count; ++i)
    if (natives_[i].kind == NativeKind::kOption && natives_[i].hwnd)
      RefreshOption(static_cast<int>(i));
  shownServiceStates_ = form_.services.states;
  shownCaptionOk_ = form_.captionOk;

  run_.FormCreate();
  SetComposited();
  return true;
}

void MainWindow::ApplyFontAndColors(int index) {
  const Component& c = form_.components[static_cast<std::size_t>(index)];
  NativeControl& n = natives_[static_cast<std::size_t>(index)];
  const NativeControl* parent =
      c.parent >= 0 ? &natives_[static_cast<std::size_t>(c.parent)] : nullptr;

  n.background = parent ? parent->background : GetSysColor(COLOR_BTNFACE);
  n.textColor = parent ? parent->textColor : GetSysColor(COLOR_WINDOWTEXT);
  if (n.kind == NativeKind::kPage) n.background = GetSysColor(COLOR_BTNFACE);
  COLORREF color;
  if (ParseColor(c.Text("Color"), color)) n.background = color;
  if (ParseColor(c.Text("Font.Color"), color)) n.textColor = color;
  if (n.kind == NativeKind::kLink) n.textColor = RGB(0, 0, 255);

  // Fonts are inherited unless the component sets one of its own.
  n.font = parent ? parent->font : defaultFont_;
  // A link is underlined, like the links of every other program.
  const bool ownFont = c.Find("Font.Name") || c.Find("Font.Height") || c.Find("Font.Size") ||
                       c.Find("Font.Style") || n.kind == NativeKind::kLink;
  if (!ownFont || !n.font) return;
  LOGFONTW base = {};
  GetObjectW(n.font, sizeof base, &base);
  FontSpec wanted;
  wanted.name = base.lfFaceName;
  wanted.height = base.lfHeight;
  wanted.bold = base.lfWeight >= FW_BOLD;
  wanted.italic = base.lfItalic != 0;
  wanted.underline = base.lfUnderline != 0;
  if (c.Find("Font.Name")) wanted.name = Wide(c.Text("Font.Name"));
  if (c.Find("Font.Height")) wanted.height = c.Int("Font.Height", wanted.height);
  if (c.Find("Font.Size")) wanted.height = -MulDiv(c.Int("Font.Size", 8), 96, 72);
  if (const Property* style = c.Find("Font.Style")) {
    wanted.bold = style->value.find("fsBold") != std::string::npos;
    wanted.italic = style->value.find("fsItalic") != std::string::npos;
    wanted.underline = style->value.find("fsUnderline") != std::string::npos;
  }
  if (n.kind == NativeKind::kLink) wanted.underline = true;
  n.font =
      CreateFontW(wanted.height, 0, 0, 0, wanted.bold ? FW_BOLD : FW_NORMAL, wanted.italic,
                  wanted.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, wanted.name.c_str());
  ownedFonts_.push_back(n.font);
}

void MainWindow::BuildChildren(int parent) {
  built_[static_cast<std::size_t>(parent)] = 1;
  const auto& kids = children_[static_cast<std::size_t>(parent)];
  for (int child : kids) BuildComponent(child);
  AlignChildren(parent);
  for (int child : kids) {
    const NativeControl& n = natives_[static_cast<std::size_t>(child)];
    // A page's controls wait until the page is first shown (BuildPage).
    if (n.container && n.kind != NativeKind::kPage) BuildChildren(child);
  }
}

void MainWindow::BuildPage(int page) {
  if (page <= 0 || static_cast<std::size_t>(page) >= natives_.size()) return;
  const std::size_t p = static_cast<std::size_t>(page);
  if (built_[p] || natives_[p].kind != NativeKind::kPage) return;
  CreatePageWindow(page);
  if (!natives_[p].container) return;
  const bool wasUpdating = updating_;
  updating_ = true;  // the new controls take the model's values, not give them
  fresh_.clear();
  BuildChildren(page);
  const std::vector<int> created = std::move(fresh_);
  fresh_.clear();
  // The new controls show the model as it is now, with their hints.
  for (int index : created) {
    SetHint(index, natives_[static_cast<std::size_t>(index)].hint);
    RefreshControl(index);
  }
  updating_ = wasUpdating;
  SetComposited();
}

void MainWindow::CreatePageWindow(int page) {
  NativeControl& n = natives_[static_cast<std::size_t>(page)];
  if (n.hwnd) return;
  const int pageControl = form_.components[static_cast<std::size_t>(page)].parent;
  HWND tabs = natives_[static_cast<std::size_t>(pageControl)].container;
  if (!tabs) return;
  n.bounds = PageArea(pageControl);
  // Hidden: ShowPageOf shows the selected page.
  n.hwnd = CreateControl(page, WS_EX_CONTROLPARENT, kContainerClass, n.text,
                         WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, n.bounds, tabs);
  n.container = n.hwnd;
}

RECT MainWindow::PageArea(int pageControl) const {
  HWND tabs = natives_[static_cast<std::size_t>(pageControl)].container;
  RECT area;
  GetClientRect(tabs, &area);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  return area;
}

HWND MainWindow::CreateControl(int index, DWORD exStyle, const wchar_t* cls,
                               const std::wstring& text, DWORD style, const RECT& r, HWND parent) {
  const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstComponentId + index));
  HWND hwnd = CreateWindowExW(exStyle, cls, text.c_str(), style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, parent, id, GetModuleHandleW(nullptr), nullptr);
  if (hwnd)
    SendMessageW(hwnd, WM_SETFONT,
                 reinterpret_cast<WPARAM>(natives_[static_cast<std::size_t>(index)].font), FALSE);
  return hwnd;
}

void MainWindow::EnsureBuilt(int index) {
  if (index <= 0 || static_cast<std::size_t>(index) >= natives_.size()) return;
  // The pages around the component, outermost first.
  std::vector<int> pages;
  for (int i = form_.components[static_cast<std::size_t>(index)].parent; i > 0;
       i = form_.components[static_cast<std::size_t>(i)].parent)
    if (natives_[static_cast<std::size_t>(i)].kind == NativeKind::kPage &&
        !built_[static_cast<std::size_t>(i)])
      pages.push_back(i);
  for (auto it = pages.rbegin(); it != pages.rend(); ++it) BuildPage(*it);
}

SIZE MainWindow::MeasureText(HFONT font, const std::wstring& text, int wrapWidth) const {
  if (!measureDc_) measureDc_ = CreateCompatibleDC(nullptr);
  HDC dc = measureDc_;
  HGDIOBJ old = SelectObject(dc, font ? font : defaultFont_);
  RECT r = {0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
  const std::wstring sample = text.empty() ? L" " : text;
  DrawTextW(dc, sample.c_str(), static_cast<int>(sample.size()), &r,
            DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  SIZE size = {r.right - r.left, r.bottom - r.top};
  if (text.empty()) size.cx = 0;
  return size;
}

void MainWindow::BuildComponent(int index) {
  const Component& c = form_.components[static_cast<std::size_t>(index)];
  NativeControl& n = natives_[static_cast<std::size_t>(index)];
  const NativeControl& parent = natives_[static_cast<std::size_t>(c.parent)];
  HWND parentWindow = parent.container;
  if (!parentWindow) return;  // children of a control that holds none
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstComponentId + index));

  fresh_.push_back(index);

  RECT r = {c.Int("Left"), c.Int("Top"), 0, 0};
  r.right = r.left + c.Int("Width");
  r.bottom = r.top + c.Int("Height");
  auto sized = [&r](int width, int height) {
    if (r.right == r.left) r.right = r.left + width;
    if (r.bottom == r.top) r.bottom = r.top + height;
  };

  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (IsTrue(c, "Visible", true)) style |= WS_VISIBLE;
  if (!IsTrue(c, "Enabled", true)) style |= WS_DISABLED;
  n.hint = Wide(c.Text("Hint"));
  n.text = Caption(c);
  n.autoSize = IsTrue(c, "AutoSize", true);
  n.wordWrap = IsTrue(c, "WordWrap", false);
  const std::string alignment = c.Text("Alignment");
  n.alignment = alignment == "taRightJustify" ? 1 : alignment == "taCenter" ? 2 : 0;

  auto create = [&](DWORD exStyle, const wchar_t* cls, const std::wstring& text, DWORD extra) {
    return CreateControl(index, exStyle, cls, text, style | extra, r, parentWindow);
  };

  switch (n.kind) {
    case NativeKind::kWindow:
      break;
    case NativeKind::kPageControl:
      sized(400, 300);
      n.hwnd = create(0, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPCHILDREN);
      n.container = n.hwnd;
      break;
    case NativeKind::kPage: {
      // Only the tab for now: the page's window comes with its controls, the
      // first time the page is shown (BuildPage).
      TCITEMW item = {};
      item.mask = TCIF_TEXT | TCIF_PARAM;
      item.pszText = const_cast<wchar_t*>(n.text.c_str());
      item.lParam = index;
      const int position = static_cast<int>(SendMessageW(parentWindow, TCM_GETITEMCOUNT, 0, 0));
      SendMessageW(parentWindow, TCM_INSERTITEMW, position, reinterpret_cast<LPARAM>(&item));
      break;
    }
    case NativeKind::kPanel:
    case NativeKind::kGroupBox:
    case NativeKind::kOther: {
      sized(100, 40);
      const std::string bevel =
          c.Text("BevelOuter", c.className == "TBevel" ? "bvLowered" : "bvRaised");
      n.frame = n.kind == NativeKind::kGroupBox ? Frame::kGroup
                : n.kind == NativeKind::kOther  ? Frame::kNone
                : bevel == "bvLowered"          ? Frame::kLowered
                : bevel == "bvNone"             ? Frame::kNone
                                                : Frame::kRaised;
      n.drawsCaption = n.kind != NativeKind::kOther;
      n.hwnd = create(WS_EX_CONTROLPARENT, kContainerClass, n.text, WS_CLIPCHILDREN);
      n.container = n.hwnd;
      break;
    }
    case NativeKind::kDialogButtons: {
      sized(200, 36);
      // Docked at the bottom unless the description places it.
      n.autoSize = !c.Find("Align") && !c.Find("Top");
      n.hwnd = create(WS_EX_CONTROLPARENT, kContainerClass, L"", WS_CLIPCHILDREN);
      const std::wstring cancel =
          c.Find("CaptionCancel") ? Wide(c.Text("CaptionCancel")) : std::wstring(L"Отмена");
      n.text = cancel;
      n.buddy = CreateWindowExW(
          0, WC_BUTTONW, Wide(form_.captionOk).c_str(),
          WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, kButtonWidth, kButtonHeight,
          n.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOkButtonId)), instance, nullptr);
      n.second = CreateWindowExW(
          0, WC_BUTTONW, cancel.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0,
          kButtonWidth, kButtonHeight, n.hwnd,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelButtonId)), instance, nullptr);
      SendMessageW(n.buddy, WM_SETFONT, reinterpret_cast<WPARAM>(n.font), FALSE);
      SendMessageW(n.second, WM_SETFONT, reinterpret_cast<WPARAM>(n.font), FALSE);
      break;
    }
    case NativeKind::kLabel:
      // Painted by its container (PaintGraphics).
      n.visible = (style & WS_VISIBLE) != 0;
      n.bounds = n.autoSize ? AutoSizedBounds(index, r) : r;
      return;
    case NativeKind::kLink: {
      // An owner-drawn button: focusable, clicked by mouse, space or Enter.
      if (n.autoSize) r = AutoSizedBounds(index, r);
      n.hwnd = create(0, WC_BUTTONW, n.text, WS_TABSTOP | BS_OWNERDRAW);
      break;
    }
    case NativeKind::kImage: {
      sized(16, 16);
      const std::string glyph = c.Text("Glyph");
      n.glyph = glyph == "cbChecked" || glyph == "Checked"       ? cbChecked
                : glyph == "cbUnchecked" || glyph == "Unchecked" ? cbUnchecked
                : glyph == "cbGrayed" || glyph == "Grayed"       ? cbGrayed
                                                                 : -1;
      n.visible = (style & WS_VISIBLE) != 0;
      n.bounds = r;
      return;
    }
    case NativeKind::kOption: {
      sized(200, kOptionHeight);
      const OptionControl& o = form_.Option(c.index);
      n.text = Wide(o.caption);
      n.hint = Wide(o.hint);
      if (n.autoSize) r = AutoSizedBounds(index, r);
      n.hwnd = create(0, WC_BUTTONW, n.text, WS_TABSTOP | BS_OWNERDRAW);
      break;
    }
    case NativeKind::kCombo: {
      sized(145, 21);
      const ComboControl& combo = form_.combos[static_cast<std::size_t>(c.index)];
      n.hint = Wide(combo.hint);
      r.bottom = r.top + kComboDropHeight;
      n.hwnd = create(0, WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
      for (const std::string& item : combo.items)
        SendMessageW(n.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
      SendMessageW(n.hwnd, CB_SETCURSEL, static_cast<WPARAM>(combo.itemIndex), 0);
      break;
    }
    case NativeKind::kSpinner: {
      sized(60, 21);
      const SpinnerControl& spinner = form_.spinners[static_cast<std::size_t>(c.index)];
      n.hint = Wide(spinner.hint);
      DWORD extra = WS_TABSTOP | ES_AUTOHSCROLL | (spinner.min >= 0 ? ES_NUMBER : 0);
      n.hwnd = create(WS_EX_CLIENTEDGE, WC_EDITW, std::to_wstring(spinner.value), extra);
      n.buddy = CreateWindowExW(0, UPDOWN_CLASSW, L"",
                                WS_CHILD | (style & WS_VISIBLE) | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                                    UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                0, 0, 0, 0, parentWindow, id, instance, nullptr);
      SendMessageW(n.buddy, UDM_SETBUDDY, reinterpret_cast<WPARAM>(n.hwnd), 0);
      SendMessageW(n.buddy, UDM_SETRANGE32, static_cast<WPARAM>(spinner.min), spinner.max);
      SendMessageW(n.buddy, UDM_SETPOS32, 0, spinner.value);
      break;
    }
    case NativeKind::kServicesList: {
      sized(300, 200);
      n.hwnd =
          create(WS_EX_CLIENTEDGE, WC_LISTBOXW, L"",
                 WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT);
      for (std::size_t i = 0; i < form_.services.items.size(); ++i)
        SendMessageW(n.hwnd, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
      SetPropW(n.hwnd, kBaseProcProperty,
               reinterpret_cast<HANDLE>(GetWindowLongPtrW(n.hwnd, GWLP_WNDPROC)));
      SetWindowLongPtrW(n.hwnd, GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(&MainWindow::ServicesListProc));
      servicesEnabled_ = form_.services.enabled;
      EnableWindow(n.hwnd, servicesEnabled_);
      break;
    }
    case NativeKind::kTimer: {
      n.interval = static_cast<unsigned>(std::max(1, c.Int("Interval", 1000)));
      if (c.name == "Timer1") {
        n.timerId = kHousekeepingTimerId;
        if (IsTrue(c, "Enabled", true)) SetTimer(hwnd_, n.timerId, n.interval, nullptr);
      } else if (c.name == "Timer2") {
        n.timerId = kCountdownTimerId;  // started by the run control only
      }
      return;
    }
  }
  if (n.hwnd) GetWindowRect(n.hwnd, &n.bounds);
  if (n.hwnd) MapWindowPoints(nullptr, parentWindow, reinterpret_cast<POINT*>(&n.bounds), 2);
  if (n.kind == NativeKind::kCombo) n.bounds.bottom = n.bounds.top + c.Int("Height", 21);
}

RECT MainWindow::AutoSizedBounds(int index, RECT r) const {
  const NativeControl& n = natives_[static_cast<std::size_t>(index)];
  const int oldWidth = r.right - r.left;
  SIZE size;
  switch (n.kind) {
    case NativeKind::kOption:
      size = MeasureText(n.font, n.text);
      // Room for the box, the gap and the focus rectangle.
      size.cx += kGlyphSize + kOptionTextGap + 3;
      size.cy = std::max<LONG>(r.bottom - r.top, kOptionHeight);
      break;
    case NativeKind::kLabel:
      size = MeasureText(n.font, n.text, n.wordWrap ? oldWidth : 0);
      if (n.wordWrap) size.cx = oldWidth;
      break;
    case NativeKind::kLink:
      size = MeasureText(n.font, n.text);
      size.cx += 4;  // room for the focus rectangle
      size.cy += 2;
      break;
    default:
      return r;
  }
  // A right-aligned label keeps its right edge.
  if (n.kind == NativeKind::kLabel && n.alignment == 1) r.left = r.right - size.cx;
  return {r.left, r.top, r.left + size.cx, r.top + size.cy};
}

void MainWindow::AutoSizeControl(int index) {
  NativeControl& n = natives_[static_cast<std::size_t>(index)];
  if (!n.autoSize) return;
  if (n.IsGraphic()) {
    n.bounds = AutoSizedBounds(index, n.bounds);
    return;
  }
  if (!n.hwnd) return;
  RECT r;
  GetWindowRect(n.hwnd, &r);
  MapWindowPoints(nullptr, GetParent(n.hwnd), reinterpret_cast<POINT*>(&r), 2);
  const RECT sized = AutoSizedBounds(index, r);
  if (!EqualRect(&sized, &r))
    SetWindowPos(n.hwnd, nullptr, sized.left, sized.top, sized.right - sized.left,
                 sized.bottom - sized.top, SWP_NOZORDER | SWP_NOACTIVATE);
  n.bounds = sized;
}

void MainWindow::AlignChildren(int parent) {
  const NativeControl& p = natives_[static_cast<std::size_t>(parent)];
  if (!p.container) return;
  RECT area;
  GetClientRect(p.container, &area);
  if (p.kind == NativeKind::kPageControl) {
    // Every page fills the tab control's display area.
    area = PageArea(parent);
    for (int child : children_[static_cast<std::size_t>(parent)]) {
      NativeControl& n = natives_[static_cast<std::size_t>(child)];
      if (n.kind != NativeKind::kPage || !n.hwnd) continue;
      MoveWindow(n.hwnd, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 FALSE);
      n.bounds = area;
    }
    return;
  }
  if (p.kind == NativeKind::kPanel || p.kind == NativeKind::kGroupBox) InflateRect(&area, -1, -1);
  auto alignOf = [this](int child) {
    const Component& c = form_.components[static_cast<std::size_t>(child)];
    const NativeControl& n = natives_[static_cast<std::size_t>(child)];
    std::string align = c.Text("Align");
    if (align.empty() && n.kind == NativeKind::kPageControl && !c.Find("Width")) align = "alClient";
    if (align.empty() && n.kind == NativeKind::kDialogButtons && n.autoSize) align = "alBottom";
    return align;
  };
  auto place = [this](int child, const RECT& r) {
    NativeControl& n = natives_[static_cast<std::size_t>(child)];
    if (!n.hwnd) return;
    MoveWindow(n.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    n.bounds = r;
  };
  // Docked edges first, in component order, then the rest goes to alClient.
  for (const char* edge : {"alTop", "alBottom", "alLeft", "alRight"}) {
    for (int child : children_[static_cast<std::size_t>(parent)]) {
      if (alignOf(child) != edge) continue;
      const RECT b = natives_[static_cast<std::size_t>(child)].bounds;
      const int w = b.right - b.left, h = b.bottom - b.top;
      RECT r = area;
      const std::string e = edge;
      if (e == "alTop") {
        r.bottom = r.top + h;
        area.top += h;
      }
      if (e == "alBottom") {
        r.top = r.bottom - h;
        area.bottom -= h;
      }
      if (e == "alLeft") {
        r.right = r.left + w;
        area.left += w;
      }
      if (e == "alRight") {
        r.left = r.right - w;
        area.right -= w;
      }
      place(child, r);
    }
  }
  for (int child : children_[static_cast<std::size_t>(parent)])
    if (alignOf(child) == "alClient") place(child, area);

  // The button bar keeps its buttons at the right.
  for (int child : children_[static_cast<std::size_t>(parent)]) {
    NativeControl& n = natives_[static_cast<std::size_t>(child)];
    if (n.kind != NativeKind::kDialogButtons || !n.hwnd) continue;
    RECT bar;
    GetClientRect(n.hwnd, &bar);
    const int cancelWidth = std::max<int>(kButtonWidth, MeasureText(n.font, n.text).cx + 16);
    wchar_t ok[128];
    GetWindowTextW(n.buddy, ok, 128);
    // Wide enough for the longest countdown, so that it never jumps.
    const int okWidth =
        std::max<int>({kButtonWidth, MeasureText(n.font, ok).cx + 16,
                       MeasureText(n.font, Wide(form_.captionOk) + L" 000").cx + 16});
    const int top = (bar.bottom - kButtonHeight) / 2;
    const int cancelLeft = bar.right - kButtonMargin - cancelWidth;
    MoveWindow(n.second, cancelLeft, top, cancelWidth, kButtonHeight, FALSE);
    MoveWindow(n.buddy, cancelLeft - kButtonGap - okWidth, top, okWidth, kButtonHeight, FALSE);
  }
}

void MainWindow::SetComposited() {
  // Painted bottom-up through one off-screen buffer: no flicker when pages
  // change or repaint.
  auto addComposited = [](HWND hwnd) {
    if (!hwnd) return;
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_COMPOSITED);
  };
  for (const char* name : {"PageControl1", "PageControl2", "PageControl3"}) {
    const int control = Named(name);
    if (control < 0) continue;
    for (int child : children_[static_cast<std::size_t>(control)])
      if (natives_[static_cast<std::size_t>(child)].kind == NativeKind::kPage)
        addComposited(natives_[static_cast<std::size_t>(child)].hwnd);
    addComposited(natives_[static_cast<std::size_t>(control)].hwnd);
  }
}

void MainWindow::CreateTooltip() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (!tooltip_) return;
  // The pause before a pop-up hint appears.
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(450, 0));
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
  for (std::size_t i = 1; i < natives_.size(); ++i) SetHint(static_cast<int>(i), natives_[i].hint);
}

}  // namespace kwetro::win32
