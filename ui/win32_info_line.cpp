// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "ui/win32_info_line.h"

#include "ui/win32_builders.h"

namespace kwetro::win32 {
namespace {

// Page titles of PageControl1, by page index.
const wchar_t* const kPageTitles[] = {
    L"  -  Система",       L"  -  Проводник",        L"  -  Настройки IE",
    L"  -  Настройки WMP", L"  -  Сервисы и службы",
};

// The legend: what the three states mean on the option pages and on the
// services page.
struct Legend {
  const wchar_t* yes;
  const wchar_t* no;
  const wchar_t* skip;
  const wchar_t* yesHint;
  const wchar_t* noHint;
  const wchar_t* skipHint;
  POINT yesImage;
  POINT yesLabel;
};
const Legend kOptionLegend = {
    L"Да",
    L"Нет",
    L"Пропустить",
    L"| Параметр применен - внесен в реестр.",
    L"| Параметр отменен - стандартные настройки.",
    L"| Параметр пропущен - не внесен в реестр.",
    {10, 4},
    {36, 5},
};
const Legend kServicesLegend = {
    L"Авто",
    L"Отключить",
    L"Вручную",
    L"| Сервис включен.",
    L"| Сервис отключен.",
    L"| Сервис в ручном режиме.",
    {60, 10},
    {86, 12},
};

const wchar_t kNoComment[] = L" Без комментариев";

}  // namespace

void InfoLine::CreateTooltips() {
  tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parts_.main, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
  if (!tooltip_.Get()) return;
  // The pause before a pop-up hint appears.
  SendMessageW(tooltip_.Get(), TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(450, 0));
  SendMessageW(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, 400);
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

void InfoLine::SetHint(int index, const std::wstring& hint) {
  if (index < 0 || parts_.Native(index).hint == hint) return;
  parts_.Native(index).hint = hint;
  UpdateTool(index);
}

void InfoLine::ShowPageTitle(int mainPage) {
  const bool services = mainPage == kServicesPage;
  const Legend& legend = services ? kServicesLegend : kOptionLegend;
  SetLabelText(parts_.Named("Label4"), legend.yes);
  SetLabelText(parts_.Named("Label5"), legend.no);
  SetLabelText(parts_.Named("Label9"), legend.skip);
  SetHint(parts_.Named("Image7"), legend.yesHint);
  SetHint(parts_.Named("Image8"), legend.noHint);
  SetHint(parts_.Named("Image10"), legend.skipHint);
  for (const char* name : {"Image9", "Label12"}) SetGraphicVisible(parts_.Named(name), !services);
  MoveGraphic(parts_.Named("Image7"), legend.yesImage);
  MoveGraphic(parts_.Named("Label4"), legend.yesLabel);
  if (mainPage >= 0 && mainPage < static_cast<int>(std::size(kPageTitles)))
    SetLabelText(parts_.Named("Label10"), kPageTitles[mainPage]);
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
  if (index < 0) return;
  if (index != explained_) pointed_(index);
  Explain(index);
}

void InfoLine::Explain(int index) {
  explained_ = index;
  Refresh();
}

void InfoLine::Refresh() {
  if (explained_ < 0) return;
  // The hint of the nearest enclosing item that has one.
  std::wstring hint;
  for (int i = explained_; i >= 0 && hint.empty(); i = parts_.Item(i).parent)
    hint = parts_.Native(i).hint;
  const std::wstring text = LongHint(hint);
  SetLabelText(parts_.Named("InfoLabel"), text.empty() ? kNoComment : text);
}

std::wstring InfoLine::Text() const {
  const int info = parts_.Named("InfoLabel");
  return info < 0 ? std::wstring() : parts_.Native(info).text;
}

void InfoLine::PaintGraphics(int container, HDC dc) {
  HWND owner = parts_.Native(container).container;
  for (int child : parts_.children[static_cast<std::size_t>(container)]) {
    const NativeControl& n = parts_.Native(child);
    if (!n.IsGraphic() || !n.visible || !RectVisible(dc, &n.bounds)) continue;
    FillRect(dc, &n.bounds, parts_.Brush(parts_.Background(child)));
    if (n.kind == NativeKind::kImage) {
      if (n.glyph < 0) continue;
      const int left = (n.bounds.left + n.bounds.right - kGlyphSize) / 2;
      const int top = (n.bounds.top + n.bounds.bottom - kGlyphSize) / 2;
      const RECT box = {left, top, left + kGlyphSize, top + kGlyphSize};
      DrawStateGlyph(owner, dc, box, static_cast<TriState>(n.glyph), true, false);
      continue;
    }
    // As a static text control draws: aligned labels and word-wrapped ones
    // break at words, the others run on in one line.
    UINT format = DT_NOPREFIX | DT_EXPANDTABS;
    format |= n.alignment == 1   ? DT_RIGHT | DT_WORDBREAK
              : n.alignment == 2 ? DT_CENTER | DT_WORDBREAK
              : n.wordWrap       ? DT_LEFT | DT_WORDBREAK
                                 : DT_LEFT;
    RECT r = n.bounds;
    HGDIOBJ oldFont = SelectObject(dc, n.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, n.textColor);
    DrawTextW(dc, n.text.c_str(), static_cast<int>(n.text.size()), &r, format);
    SelectObject(dc, oldFont);
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
