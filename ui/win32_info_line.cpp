// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "ui/win32_info_line.h"

#include <vector>

#include "app/win32_text.h"
#include "ui/win32_builders.h"

namespace kwetro::win32 {
namespace {

constexpr int kTooltipWidth = 400;  // at 96 DPI

// On the services page the legend shows the layout's "Services" form of a
// property where an item has one (ServicesCaption for Caption, ...).
std::string ServicesForm(const char* property) { return std::string("Services") + property; }

}  // namespace

void InfoLine::CreateTooltips() {
  tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parts_.main, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
  if (!tooltip_.Get()) return;
  // The pause before a pop-up hint appears.
  SendMessageW(tooltip_.Get(), TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(450, 0));
  // Wrapped at a width that grows with the fonts (large fonts: 120 DPI).
  SendMessageW(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, parts_.Scale(kTooltipWidth));
  for (std::size_t i = 1; i < parts_.natives.size(); ++i) UpdateTool(static_cast<int>(i));
}

void InfoLine::UpdateTool(int index) {
  const NativeControl& n = parts_.Native(index);
  const int parent = parts_.Item(index).parent;
  if (!tooltip_.Get() || parent < 0) return;
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  if (n.IsGraphic()) {
    // A label or image is a place on its container.
    tool.hwnd = parts_.Native(parent).container;
    tool.uId = static_cast<UINT_PTR>(kFirstItemId + index);
    tool.rect = n.bounds;
  } else {
    if (!n.hwnd) return;
    tool.uFlags |= TTF_IDISHWND;
    tool.hwnd = GetParent(n.hwnd);
    tool.uId = reinterpret_cast<UINT_PTR>(n.hwnd);
  }
  if (!tool.hwnd) return;
  // Only the part before "|" pops up; hints that start with "|" never do.
  std::wstring popup = ShortHint(n.hint);
  SendMessageW(tooltip_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (popup.empty() || (n.IsGraphic() && !n.visible)) return;
  tool.lpszText = &popup[0];
  SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void InfoLine::SetLabelText(int index, const std::wstring& text) {
  if (index < 0) return;
  NativeControl& n = parts_.Native(index);
  if (!n.IsGraphic() || text == n.text) return;
  const RECT before = n.bounds;
  n.text = text;
  AutoSize(parts_, index);
  InvalidateGraphic(index, before);
  if (!EqualRect(&before, &n.bounds)) UpdateTool(index);
}

void InfoLine::SetDimmed(int index, bool dimmed) {
  if (index < 0 || parts_.Native(index).dimmed == dimmed) return;
  parts_.Native(index).dimmed = dimmed;
  InvalidateGraphic(index, parts_.Native(index).bounds);
}

void InfoLine::SetHint(int index, const std::wstring& hint) {
  if (index < 0 || parts_.Native(index).hint == hint) return;
  parts_.Native(index).hint = hint;
  UpdateTool(index);
}

void InfoLine::ShowPageTitle(int page) {
  const bool services = page == ServicesPage();
  for (std::size_t i = 1; i < parts_.natives.size(); ++i) {
    const LayoutItem& item = parts_.layout.items[i];
    const int index = static_cast<int>(i);
    auto changes = [&item](const char* property) {
      return item.Find(ServicesForm(property)) != nullptr;
    };
    auto shown = [&](const char* property) {
      return services && changes(property) ? ServicesForm(property) : std::string(property);
    };
    if (changes("Caption")) SetLabelText(index, Widen(item.Text(shown("Caption"))));
    if (changes("Hint")) SetHint(index, Widen(item.Text(shown("Hint"))));
    if (changes("Left") || changes("Top"))
      MoveGraphic(index, {item.Int(shown("Left")), item.Int(shown("Top"))});
    if (changes("Visible")) SetGraphicVisible(index, item.Flag(shown("Visible"), true));
  }
  if (page >= 0)
    SetLabelText(parts_.Object(WindowObject::kPageTitle),
                 Widen(Controls().pages[static_cast<std::size_t>(page)].caption));
}

void InfoLine::MouseOver(HWND hwnd, POINT screen) {
  if (GetAncestor(hwnd, GA_ROOT) != parts_.main) return;
  // The deepest control under the point, disabled ones included (the mouse
  // reaches their parent instead).
  for (;;) {
    POINT client = screen;
    ScreenToClient(hwnd, &client);
    HWND child = ChildWindowFromPointEx(hwnd, client, CWP_SKIPINVISIBLE);
    if (!child || child == hwnd) break;
    hwnd = child;
  }
  int index = parts_.ItemOf(hwnd);
  if (index >= 0 && parts_.Native(index).container == hwnd) {
    // A label or image of that container.
    POINT client = screen;
    ScreenToClient(hwnd, &client);
    const int graphic = GraphicAt(index, client);
    if (graphic > 0) index = graphic;
  }
  if (index < 0 || index == pointedAt_) return;
  pointedAt_ = index;
  pointed_(index);
  Explain(index);
}

void InfoLine::Explain(int index) {
  explained_ = index;
  Refresh();
}

void InfoLine::Say(const std::wstring& text) {
  explained_ = -1;
  SetLabelText(parts_.Object(WindowObject::kInfoLine), L" " + text);
}

void InfoLine::PauseTooltips(bool paused) {
  if (!tooltip_.Get()) return;
  if (paused) SendMessageW(tooltip_.Get(), TTM_POP, 0, 0);
  SendMessageW(tooltip_.Get(), TTM_ACTIVATE, !paused, 0);
}

void InfoLine::Refresh() {
  if (explained_ < 0) return;
  // The hint of the nearest enclosing item that has one.
  std::wstring hint;
  for (int i = explained_; i >= 0 && hint.empty(); i = parts_.Item(i).parent)
    hint = parts_.Native(i).hint;
  std::wstring text = LongHint(hint);
  const std::wstring lead = lead_ ? lead_(explained_) : std::wstring();
  if (!lead.empty()) text = Fitted(L" " + lead, text);
  // Where nothing has a hint, the line says what it is for (its caption in
  // the layout).
  const int line = parts_.Object(WindowObject::kInfoLine);
  SetLabelText(line, text.empty() ? Widen(parts_.Item(line).Text("Caption")) : text);
}

std::wstring InfoLine::Fitted(const std::wstring& lead, const std::wstring& rest) const {
  const NativeControl& line = parts_.Native(parts_.Object(WindowObject::kInfoLine));
  const int width = line.bounds.right - line.bounds.left;
  const auto fits = [&](const std::wstring& text) {
    return parts_.MeasureText(line.font, text, width).cy <= line.bounds.bottom - line.bounds.top;
  };
  if (fits(lead + rest)) return lead + rest;
  // The longest start of the rest that ends at a word and fits with "…".
  std::vector<std::size_t> ends;
  for (std::size_t i = 1; i < rest.size(); ++i)
    if (rest[i] == L' ' && rest[i - 1] != L' ') ends.push_back(i);
  std::size_t low = 0, high = ends.size();  // ends[0, low) fit; ends[high, ...) do not
  while (low < high) {
    const std::size_t middle = (low + high) / 2;
    if (fits(lead + rest.substr(0, ends[middle]) + L"…"))
      low = middle + 1;
    else
      high = middle;
  }
  return low ? lead + rest.substr(0, ends[low - 1]) + L"…" : lead;
}

std::wstring InfoLine::Text() const {
  return parts_.Native(parts_.Object(WindowObject::kInfoLine)).text;
}

void InfoLine::PaintGraphics(int container, HDC dc) {
  HWND owner = parts_.Native(container).container;
  for (int child : parts_.children[static_cast<std::size_t>(container)]) {
    const NativeControl& n = parts_.Native(child);
    if (!n.IsGraphic() || !n.visible || !RectVisible(dc, &n.bounds)) continue;
    FillRect(dc, &n.bounds, parts_.Brush(parts_.Background(child)));
    if (n.kind == NativeKind::kImage) {
      if (n.glyph >= kMachineMarkGlyphs) {
        DrawMachineMark(dc, n.bounds, static_cast<MachineMark>(n.glyph - kMachineMarkGlyphs));
        continue;
      }
      if (n.glyph < 0) continue;
      const int left = (n.bounds.left + n.bounds.right - kGlyphSize) / 2;
      const int top = (n.bounds.top + n.bounds.bottom - kGlyphSize) / 2;
      const RECT box = {left, top, left + kGlyphSize, top + kGlyphSize};
      DrawStateGlyph(owner, dc, box, static_cast<TriState>(n.glyph), true, false);
      continue;
    }
    // As a static text control draws: aligned labels and word-wrapped ones
    // break at words, the others run on in one line; a label that names a
    // control underlines the letter that goes there.
    UINT format = DT_EXPANDTABS;
    if (n.focusControl < 0) format |= DT_NOPREFIX;
    format |= n.alignment == 1   ? DT_RIGHT | DT_WORDBREAK
              : n.alignment == 2 ? DT_CENTER | DT_WORDBREAK
              : n.wordWrap       ? DT_LEFT | DT_WORDBREAK
                                 : DT_LEFT;
    RECT r = n.bounds;
    const SelectedObject font(dc, n.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, n.dimmed ? GetSysColor(COLOR_GRAYTEXT) : n.textColor);
    DrawTextW(dc, n.text.c_str(), static_cast<int>(n.text.size()), &r, format);
  }
}

int InfoLine::GraphicAt(int container, POINT client) const {
  int found = -1;
  // The later one paints over the earlier one, so it is the one pointed at.
  for (int child : parts_.children[static_cast<std::size_t>(container)]) {
    const NativeControl& n = parts_.Native(child);
    if (n.IsGraphic() && n.visible && PtInRect(&n.bounds, client)) found = child;
  }
  return found;
}

void InfoLine::SetGraphicVisible(int index, bool visible) {
  if (index < 0) return;
  NativeControl& n = parts_.Native(index);
  if (!n.IsGraphic() || n.visible == visible) return;
  n.visible = visible;
  InvalidateGraphic(index, n.bounds);
  UpdateTool(index);
}

void InfoLine::MoveGraphic(int index, POINT at) {
  if (index < 0) return;
  at = {parts_.Scale(at.x), parts_.Scale(at.y)};  // a place of the layout, at 96 DPI
  NativeControl& n = parts_.Native(index);
  if (!n.IsGraphic() || (n.bounds.left == at.x && n.bounds.top == at.y)) return;
  const RECT before = n.bounds;
  OffsetRect(&n.bounds, at.x - before.left, at.y - before.top);
  InvalidateGraphic(index, before);
  UpdateTool(index);
}

void InfoLine::InvalidateGraphic(int index, const RECT& before) {
  const int parent = parts_.Item(index).parent;
  HWND owner = parent >= 0 ? parts_.Native(parent).container : nullptr;
  if (!owner) return;
  // Where a label shrank or an image left, the container's background shows.
  RECT dirty;
  UnionRect(&dirty, &before, &parts_.Native(index).bounds);
  InvalidateRect(owner, &dirty, TRUE);
}

}  // namespace kwetro::win32
