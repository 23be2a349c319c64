// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "ui/win32_builders.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "app/win32_text.h"
#include "options/number_text.h"

namespace kwetro::win32 {
namespace {

constexpr int kOptionHeight = 17;
constexpr int kComboDropHeight = 200;

// Colour names of the layout (clWhite, clBtnFace, ...) and numbers
// ("$00BBGGRR", decimal, "0x..."); system colours carry their index in the
// low byte with the top bit set.
bool ParseColor(const std::string& text, COLORREF& color) {
  static const struct {
    const char* name;
    int value;  // an RGB value, or -(system colour index + 1)
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
    color = named.value < 0 ? GetSysColor(-named.value - 1) : static_cast<COLORREF>(named.value);
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

// What builds a kind: the item, its place (zero sizes meaning "its own"),
// the base window style, and the parent's container.
struct Context {
  WindowParts& parts;
  int index;
  const LayoutItem& item;
  NativeControl& n;
  RECT r;
  DWORD style;
  HWND parent;

  // The size of a kind when the layout gives none, at 96 DPI.
  void Sized(int width, int height) {
    if (r.right == r.left) r.right = r.left + parts.Scale(width);
    if (r.bottom == r.top) r.bottom = r.top + parts.Scale(height);
  }
  HWND Create(DWORD exStyle, const wchar_t* cls, const std::wstring& text, DWORD extra) {
    return parts.CreateControl(index, exStyle, cls, text, style | extra, r, parent);
  }
};

void BuildPageControl(Context& c) {
  c.Sized(400, 300);
  c.n.hwnd = c.Create(0, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS);
}

void BuildPage(Context& c) {
  // Only the tab: the page's window comes with its controls (Pages).
  TCITEMW tab = {};
  tab.mask = TCIF_TEXT | TCIF_PARAM;
  tab.pszText = &c.n.text[0];
  tab.lParam = c.index;
  HWND tabs = c.parts.Native(c.item.parent).hwnd;
  const auto position = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
  SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(position),
               reinterpret_cast<LPARAM>(&tab));
}

void BuildContainer(Context& c) {
  c.Sized(100, 40);
  const std::string bevel =
      c.item.Text("BevelOuter", c.item.className == "TBevel" ? "bvLowered" : "bvRaised");
  c.n.frame = c.n.kind == NativeKind::kGroupBox ? Frame::kGroup
              : c.n.kind == NativeKind::kOther  ? Frame::kNone
              : bevel == "bvLowered"            ? Frame::kLowered
              : bevel == "bvNone"               ? Frame::kNone
                                                : Frame::kRaised;
  c.n.drawsCaption = c.n.kind != NativeKind::kOther;
  c.n.hwnd = c.Create(WS_EX_CONTROLPARENT, kContainerClass, c.n.text, WS_CLIPCHILDREN);
  c.n.container = c.n.hwnd;
}

void BuildEdit(Context& c) {
  c.Sized(120, 21);
  c.n.hwnd = c.Create(WS_EX_CLIENTEDGE, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL);
}

void BuildButtons(Context& c) {
  // No window of its own: its buttons stand in its place in the parent
  // (Pages::ArrangeButtons lines them up at its right).
  c.Sized(200, 36);
  c.n.bounds = c.r;
  c.n.text = Widen(c.item.Text("CaptionCancel"));
  auto button = [&c](const std::wstring& text, int id) {
    HWND hwnd = CreateWindowExW(0, WC_BUTTONW, text.c_str(),
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                                c.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.n.font), FALSE);
    return hwnd;
  };
  // A third button, left of the other two, when the layout names it.
  if (c.item.Find("CaptionPreview"))
    c.n.third = button(Widen(c.item.Text("CaptionPreview")), kPreviewButtonId);
  c.n.buddy = button(Widen(c.item.Text("CaptionOk")), kOkButtonId);
  c.n.second = button(c.n.text, kCancelButtonId);
}

void BuildLabel(Context& c) {
  // Painted by its container (InfoLine).
  c.n.visible = (c.style & WS_VISIBLE) != 0;
  if (c.item.Find("FocusControl")) c.n.focusControl = c.parts.Named(c.item.Text("FocusControl"));
  c.n.bounds = c.n.autoSize ? AutoSizedBounds(c.parts, c.index, c.r) : c.r;
}

void BuildImage(Context& c) {
  c.Sized(16, 16);
  const std::string glyph = c.item.Text("Glyph");
  c.n.glyph = glyph == "cbChecked"     ? cbChecked
              : glyph == "cbUnchecked" ? cbUnchecked
              : glyph == "cbGrayed"    ? cbGrayed
              : glyph == "mkHeld"      ? kMachineMarkGlyphs + static_cast<int>(MachineMark::kHeld)
              : glyph == "mkOther"     ? kMachineMarkGlyphs + static_cast<int>(MachineMark::kOther)
                                       : -1;
  c.n.visible = (c.style & WS_VISIBLE) != 0;
  c.n.bounds = c.r;
}

void BuildLink(Context& c) {
  // An owner-drawn button: focusable, clicked by mouse, space or Enter.
  if (c.n.autoSize) c.r = AutoSizedBounds(c.parts, c.index, c.r);
  c.n.hwnd = c.Create(0, WC_BUTTONW, c.n.text, WS_TABSTOP | BS_OWNERDRAW);
}

void BuildMenuButton(Context& c) {
  c.Sized(100, 23);
  c.n.hwnd = c.Create(0, WC_BUTTONW, c.n.text, WS_TABSTOP | BS_OWNERDRAW);
  // On the free end of a tab control's row it comes just above the tab
  // control, which would paint over it (and before it in the tab order, as
  // the tab control's pages do).
  for (int sibling : c.parts.children[static_cast<std::size_t>(c.item.parent)]) {
    const NativeControl& under = c.parts.Native(sibling);
    RECT overlap;
    if (sibling == c.index || !under.hwnd || !IntersectRect(&overlap, &under.bounds, &c.r))
      continue;
    HWND above = GetWindow(under.hwnd, GW_HWNDPREV);
    SetWindowPos(c.n.hwnd, above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    break;
  }
}

void BuildOption(Context& c) {
  c.Sized(200, kOptionHeight);
  if (c.n.autoSize) c.r = AutoSizedBounds(c.parts, c.index, c.r);
  c.n.hwnd = c.Create(0, WC_BUTTONW, c.n.text, WS_TABSTOP | BS_OWNERDRAW);
}

void BuildCombo(Context& c) {
  c.Sized(145, 21);
  const auto i = static_cast<std::size_t>(c.item.index);
  const ComboDecl& combo = Controls().combos[i];
  c.r.bottom = c.r.top + c.parts.Scale(kComboDropHeight);
  c.n.hwnd = c.Create(0, WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
  SendMessageW(c.n.hwnd, CB_ADDSTRING, 0,
               reinterpret_cast<LPARAM>(Widen(c.parts.Item(0).Text("NoItemCaption")).c_str()));
  for (std::string_view text : combo.items)
    SendMessageW(c.n.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  SendMessageW(c.n.hwnd, CB_SETCURSEL,
               static_cast<WPARAM>(ComboRow(c.parts.selection.combos[i], combo)), 0);
}

void BuildSpinner(Context& c) {
  c.Sized(60, 21);
  const auto i = static_cast<std::size_t>(c.item.index);
  const SpinnerDecl& spinner = Controls().spinners[i];
  const int value = c.parts.selection.spinners[i];
  const DWORD extra = WS_TABSTOP | ES_AUTOHSCROLL | (spinner.min >= 0 ? ES_NUMBER : 0);
  c.n.hwnd = c.Create(WS_EX_CLIENTEDGE, WC_EDITW, WideDecimal(value), extra);
  c.n.buddy = CreateWindowExW(0, UPDOWN_CLASSW, L"",
                              WS_CHILD | (c.style & WS_VISIBLE) | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                                  UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                              0, 0, 0, 0, c.parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstItemId + c.index)),
                              GetModuleHandleW(nullptr), nullptr);
  SendMessageW(c.n.buddy, UDM_SETBUDDY, reinterpret_cast<WPARAM>(c.n.hwnd), 0);
  SendMessageW(c.n.buddy, UDM_SETRANGE32, static_cast<WPARAM>(spinner.min), spinner.max);
  SendMessageW(c.n.buddy, UDM_SETPOS32, 0, value);
}

void BuildServicesList(Context& c) {
  c.Sized(300, 200);
  c.n.hwnd =
      c.Create(WS_EX_CLIENTEDGE, WC_LISTBOXW, L"",
               WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT);
  // It stays enabled under the standard configuration, which writes none of
  // it: the list can still be read and scrolled, its items only look inactive.
  for (std::size_t i = 0; i < Controls().services.size(); ++i)
    SendMessageW(c.n.hwnd, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
}

void BuildTimer(Context& c) {
  c.n.interval = static_cast<unsigned>(std::max(1, c.item.Int("Interval", 1000)));
  // The countdown timer (Timer2) is started by the run control only.
  if (c.index == c.parts.Object(WindowObject::kHousekeepingTimer) && c.item.Flag("Enabled", true))
    SetTimer(c.parts.main, kHousekeepingTimerId, c.n.interval, nullptr);
}

// Anchors = [akLeft,akTop,akRight,akBottom]; the top left corner when the
// layout names none.
unsigned AnchorsOf(const LayoutItem& item) {
  const LayoutProperty* anchors = item.Find("Anchors");
  if (!anchors) return kAnchorLeft | kAnchorTop;
  unsigned set = 0;
  for (const auto& [name, bit] :
       {std::pair{"akLeft", kAnchorLeft}, std::pair{"akTop", kAnchorTop},
        std::pair{"akRight", kAnchorRight}, std::pair{"akBottom", kAnchorBottom}})
    if (anchors->value.find(name) != std::string::npos) set |= bit;
  return set;
}

// A drop-down list's or spinner's hint in the window: the short phrase pops
// up, what each item writes fills the information line.
std::wstring HintWithExplanation(std::string_view hint, std::string_view explanation) {
  return Widen(hint) + L"| " + Widen(explanation);
}

// The texts an item shows: the control table's for the controls of a
// selection, the layout's for the window's own.
void SetTexts(WindowParts& parts, const LayoutItem& item, NativeControl& n) {
  const ControlTable& t = Controls();
  const auto i = static_cast<std::size_t>(item.index);
  switch (item.bound) {
    case Bound::kOption:
      n.text = Widen(parts.selection.Caption(item.index));
      n.hint = Widen(parts.selection.Hint(item.index));
      return;
    case Bound::kComboLabel:
      n.text = Widen(t.combos[i].labelCaption);
      [[fallthrough]];
    case Bound::kCombo:
      n.hint = HintWithExplanation(t.combos[i].hint, t.combos[i].explanation);
      return;
    case Bound::kSpinnerLabel:
      n.text = Widen(t.spinners[i].labelCaption);
      [[fallthrough]];
    case Bound::kSpinner:
      n.hint = HintWithExplanation(t.spinners[i].hint, t.spinners[i].explanation);
      return;
    case Bound::kPage:
      n.text = Widen(t.pages[i].caption);
      return;
    case Bound::kServicesList:
    case Bound::kNone:
      n.text = Widen(item.Text("Caption"));
      n.hint = Widen(item.Text("Hint"));
      return;
  }
}

}  // namespace

void FitIntoTabRow(WindowParts& parts, int index) {
  NativeControl& button = parts.Native(index);
  for (int sibling : parts.children[static_cast<std::size_t>(parts.Item(index).parent)]) {
    const NativeControl& n = parts.Native(sibling);
    RECT overlap;
    if (n.kind != NativeKind::kPageControl || !n.hwnd || !button.hwnd ||
        !IntersectRect(&overlap, &n.bounds, &button.bounds))
      continue;
    RECT area = {0, 0, n.bounds.right - n.bounds.left, n.bounds.bottom - n.bounds.top};
    SendMessageW(n.hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const LONG rowEnd = n.bounds.top + area.top;
    if (button.bounds.bottom <= rowEnd) return;
    button.bounds.bottom = std::max(rowEnd, button.bounds.top + 1);
    MoveWindow(button.hwnd, button.bounds.left, button.bounds.top,
               button.bounds.right - button.bounds.left, button.bounds.bottom - button.bounds.top,
               FALSE);
    return;
  }
}

NativeKind KindOf(const LayoutItem& item) {
  switch (item.bound) {
    case Bound::kOption:
      return NativeKind::kOption;
    case Bound::kCombo:
      return NativeKind::kCombo;
    case Bound::kSpinner:
      return NativeKind::kSpinner;
    case Bound::kServicesList:
      return NativeKind::kServicesList;
    case Bound::kPage:
      return NativeKind::kPage;
    default:
      break;
  }
  static const struct {
    const char* className;
    NativeKind kind;
  } kClasses[] = {
      {"TPageControl", NativeKind::kPageControl},
      {"TLabel", NativeKind::kLabel},
      {"TImage", NativeKind::kImage},
      {"TRzDialogButtons", NativeKind::kDialogButtons},
      {"TRzURLLabel", NativeKind::kLink},
      {"TRzMenuButton", NativeKind::kMenuButton},
      {"TTimer", NativeKind::kTimer},
      {"TGroupBox", NativeKind::kGroupBox},
      {"TPanel", NativeKind::kPanel},
      {"TBevel", NativeKind::kPanel},
      {"TEdit", NativeKind::kEdit},
  };
  for (const auto& c : kClasses)
    if (item.className == c.className) return c.kind;
  return NativeKind::kOther;
}

void ApplyFontAndColors(WindowParts& parts, int index) {
  const LayoutItem& item = parts.Item(index);
  NativeControl& n = parts.Native(index);
  const NativeControl* parent = item.parent >= 0 ? &parts.Native(item.parent) : nullptr;
  n.background = parent ? parent->background : GetSysColor(COLOR_BTNFACE);
  n.textColor = parent ? parent->textColor : GetSysColor(COLOR_WINDOWTEXT);
  if (n.kind == NativeKind::kPage) n.background = GetSysColor(COLOR_BTNFACE);
  COLORREF color;
  if (ParseColor(item.Text("Color"), color)) n.background = color;
  if (ParseColor(item.Text("Font.Color"), color)) n.textColor = color;
  // A link looks like the links of every other program.
  if (n.kind == NativeKind::kLink) n.textColor = RGB(0, 0, 255);
  n.font =
      parts.FontFor(item, parent ? parent->font : parts.DefaultFont(), n.kind == NativeKind::kLink);
}

void BuildItem(WindowParts& parts, int index) {
  const LayoutItem& item = parts.Item(index);
  NativeControl& n = parts.Native(index);
  // A page's tab goes into its tab control; everything else into the
  // container of its parent.
  HWND parent = n.kind == NativeKind::kPage ? parts.Native(item.parent).hwnd
                                            : parts.Native(item.parent).container;
  if (!parent) return;  // children of a control that holds none

  Context c{parts, index, item, n, {}, WS_CHILD | WS_CLIPSIBLINGS, parent};
  c.r = parts.Scale(RECT{item.Int("Left"), item.Int("Top"), item.Int("Left") + item.Int("Width"),
                         item.Int("Top") + item.Int("Height")});
  if (item.Flag("Visible", true)) c.style |= WS_VISIBLE;
  if (!item.Flag("Enabled", true)) c.style |= WS_DISABLED;
  SetTexts(parts, item, n);
  n.autoSize = item.Flag("AutoSize", true);
  n.anchors = AnchorsOf(item);
  n.wordWrap = item.Flag("WordWrap", false);
  const std::string alignment = item.Text("Alignment");
  n.alignment = alignment == "taRightJustify" ? 1 : alignment == "taCenter" ? 2 : 0;

  using Builder = void (*)(Context&);
  static const std::map<NativeKind, Builder> kBuilders = {
      {NativeKind::kPageControl, BuildPageControl},
      {NativeKind::kPage, BuildPage},
      {NativeKind::kPanel, BuildContainer},
      {NativeKind::kGroupBox, BuildContainer},
      {NativeKind::kOther, BuildContainer},
      {NativeKind::kDialogButtons, BuildButtons},
      {NativeKind::kLabel, BuildLabel},
      {NativeKind::kImage, BuildImage},
      {NativeKind::kLink, BuildLink},
      {NativeKind::kMenuButton, BuildMenuButton},
      {NativeKind::kOption, BuildOption},
      {NativeKind::kCombo, BuildCombo},
      {NativeKind::kSpinner, BuildSpinner},
      {NativeKind::kServicesList, BuildServicesList},
      {NativeKind::kTimer, BuildTimer},
      {NativeKind::kEdit, BuildEdit},
  };
  const auto builder = kBuilders.find(n.kind);
  if (builder == kBuilders.end()) return;
  builder->second(c);
  if (!n.hwnd) return;
  GetWindowRect(n.hwnd, &n.bounds);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&n.bounds), 2);
  if (n.kind == NativeKind::kCombo)
    n.bounds.bottom = n.bounds.top + parts.Scale(item.Int("Height", 21));
}

int ComboRow(int index, const ComboDecl& combo) {
  // An index past the items is no item too, as the scripts read it.
  return index >= 0 && static_cast<std::size_t>(index) < combo.items.size() ? index + 1 : 0;
}

int ComboChoice(int row) { return row > 0 ? row - 1 : -1; }

RECT AutoSizedBounds(const WindowParts& parts, int index, RECT r) {
  const NativeControl& n = parts.Native(index);
  SIZE size;
  switch (n.kind) {
    case NativeKind::kOption:
      size = parts.MeasureText(n.font, n.text);
      // Room for the box, the gap and the focus rectangle.
      size.cx += kGlyphSize + kOptionTextGap + 3;
      size.cy = std::max<LONG>(r.bottom - r.top, parts.Scale(kOptionHeight));
      break;
    case NativeKind::kLabel: {
      const int width = r.right - r.left;
      size = parts.MeasureText(n.font, n.text, n.wordWrap ? width : 0, n.focusControl >= 0);
      if (n.wordWrap) size.cx = width;
      break;
    }
    case NativeKind::kLink:
      size = parts.MeasureText(n.font, n.text);
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

void AutoSize(WindowParts& parts, int index) {
  NativeControl& n = parts.Native(index);
  if (!n.autoSize) return;
  if (n.IsGraphic()) {
    n.bounds = AutoSizedBounds(parts, index, n.bounds);
    return;
  }
  if (!n.hwnd) return;
  const RECT sized = AutoSizedBounds(parts, index, n.bounds);
  if (!EqualRect(&sized, &n.bounds))
    SetWindowPos(n.hwnd, nullptr, sized.left, sized.top, sized.right - sized.left,
                 sized.bottom - sized.top, SWP_NOZORDER | SWP_NOACTIVATE);
  n.bounds = sized;
}

}  // namespace kwetro::win32
