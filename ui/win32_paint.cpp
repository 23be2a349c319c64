#include "ui/win32_paint.h"

#include <algorithm>

#include "app/win32_system_files.h"
#include "win32/handles.h"

namespace kwetro::win32 {
namespace {

// The visual-style calls, looked up at run time: the program must also start
// where visual styles are switched off or absent.
class ThemeApi {
 public:
  static const ThemeApi& Get() {
    static const ThemeApi api;
    return api;
  }

  bool Active() const { return isActive_ && isActive_() && open_ && close_ && draw_; }

  bool DrawPart(HWND owner, HDC dc, const RECT& box, int part, int state) const {
    HANDLE theme = open_(owner, L"BUTTON");
    if (!theme) return false;
    const bool ok = SUCCEEDED(draw_(theme, dc, part, state, &box, nullptr));
    close_(theme);
    return ok;
  }

 private:
  using OpenFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
  using CloseFn = HRESULT(WINAPI*)(HANDLE);
  using DrawFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
  using ActiveFn = BOOL(WINAPI*)();

  template <typename T>
  static T Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  }

  ThemeApi() {
    HMODULE module = LoadSystemLibrary(L"uxtheme.dll");
    if (!module) return;
    open_ = Lookup<OpenFn>(module, "OpenThemeData");
    close_ = Lookup<CloseFn>(module, "CloseThemeData");
    draw_ = Lookup<DrawFn>(module, "DrawThemeBackground");
    isActive_ = Lookup<ActiveFn>(module, "IsAppThemed");
  }

  OpenFn open_ = nullptr;
  CloseFn close_ = nullptr;
  DrawFn draw_ = nullptr;
  ActiveFn isActive_ = nullptr;
};

// Parts and states of the themed check box.
constexpr int kCheckBoxPart = 3;
constexpr int kUncheckedNormal = 1, kCheckedNormal = 5, kMixedNormal = 9;
constexpr int kPressedOffset = 2, kDisabledOffset = 3;
// Parts and states of the themed push button.
constexpr int kPushButtonPart = 1;
constexpr int kButtonNormal = 1, kButtonPressed = 3, kButtonDisabled = 4;

}  // namespace

void DrawStateGlyph(HWND owner, HDC dc, const RECT& box, TriState state, bool enabled,
                    bool pressed) {
  if (ThemeApi::Get().Active()) {
    int themed = state == cbChecked  ? kCheckedNormal
                 : state == cbGrayed ? kMixedNormal
                                     : kUncheckedNormal;
    if (!enabled)
      themed += kDisabledOffset;
    else if (pressed)
      themed += kPressedOffset;
    if (ThemeApi::Get().DrawPart(owner, dc, box, kCheckBoxPart, themed)) return;
  }
  UINT flags = DFCS_BUTTONCHECK;
  if (state == cbChecked) flags |= DFCS_CHECKED;
  // The classic "indeterminate" box: a grey tick on a grey ground.
  if (state == cbGrayed) flags = DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (!enabled) flags |= DFCS_INACTIVE;
  if (pressed) flags |= DFCS_PUSHED;
  RECT r = box;
  DrawFrameControl(dc, &r, DFC_BUTTON, flags);
}

void DrawOptionBox(const DRAWITEMSTRUCT& item, TriState state, const std::wstring& caption,
                   HFONT font, COLORREF textColor, HBRUSH background) {
  HDC dc = item.hDC;
  const RECT& rc = item.rcItem;
  FillRect(dc, &rc, background);
  const bool enabled = !(item.itemState & ODS_DISABLED);
  const int top = rc.top + (rc.bottom - rc.top - kGlyphSize) / 2;
  const RECT box = {rc.left, top, rc.left + kGlyphSize, top + kGlyphSize};
  DrawStateGlyph(item.hwndItem, dc, box, state, enabled, (item.itemState & ODS_SELECTED) != 0);

  const SelectedObject selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? textColor : GetSysColor(COLOR_GRAYTEXT));
  RECT text = rc;
  text.left += kGlyphSize + kOptionTextGap;
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT;
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, format);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT extent = text;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &extent, format | DT_CALCRECT);
    const int height = extent.bottom - extent.top;
    extent.top = rc.top + (rc.bottom - rc.top - height) / 2 - 1;
    extent.bottom = extent.top + height + 2;
    extent.left -= 1;
    extent.right = std::min(extent.right + 1, rc.right);
    DrawFocusRect(dc, &extent);
  }
}

void DrawMachineMark(HDC dc, const RECT& box, MachineMark mark) {
  if (mark == MachineMark::kNone) return;
  const int left = (box.left + box.right - kMachineMarkSize) / 2;
  const int top = (box.top + box.bottom - kMachineMarkSize) / 2;
  const bool held = mark == MachineMark::kHeld;
  const UniquePen pen(CreatePen(PS_SOLID, 2, held ? RGB(0, 150, 0) : RGB(210, 0, 0)));
  const SelectedObject selected(dc, pen.Get());
  if (held) {
    const POINT tick[] = {{left + 1, top + 4}, {left + 3, top + 7}, {left + 8, top + 1}};
    Polyline(dc, tick, 3);
    return;
  }
  MoveToEx(dc, left + 1, top + 1, nullptr);
  LineTo(dc, left + kMachineMarkSize - 1, top + kMachineMarkSize - 1);
  MoveToEx(dc, left + kMachineMarkSize - 1, top + 1, nullptr);
  LineTo(dc, left + 1, top + kMachineMarkSize - 1);
}

void DrawMenuButton(const DRAWITEMSTRUCT& item, const std::wstring& caption, HFONT font) {
  HDC dc = item.hDC;
  RECT rc = item.rcItem;
  const bool enabled = !(item.itemState & ODS_DISABLED);
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  const int themed = !enabled ? kButtonDisabled : pressed ? kButtonPressed : kButtonNormal;
  if (!ThemeApi::Get().Active() ||
      !ThemeApi::Get().DrawPart(item.hwndItem, dc, rc, kPushButtonPart, themed)) {
    RECT frame = rc;
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  }
  // The arrow at the right, the caption centred in the rest.
  constexpr int kArrowWidth = 7;
  const int middle = (rc.top + rc.bottom) / 2 + (pressed ? 1 : 0);
  const int arrowLeft = rc.right - kMenuArrowRoom + (pressed ? 1 : 0);
  const POINT arrow[] = {{arrowLeft, middle - 1},
                         {arrowLeft + kArrowWidth - 1, middle - 1},
                         {arrowLeft + kArrowWidth / 2, middle + kArrowWidth / 2 - 1}};
  const COLORREF ink = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  {
    const UniqueBrush brush(CreateSolidBrush(ink));
    const UniquePen pen(CreatePen(PS_SOLID, 1, ink));
    const SelectedObject withBrush(dc, brush.Get());
    const SelectedObject withPen(dc, pen.Get());
    Polygon(dc, arrow, 3);
  }
  RECT text = rc;
  text.right -= kMenuArrowRoom - 2;
  if (pressed) OffsetRect(&text, 1, 1);
  const SelectedObject selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ink);
  const UINT format =
      DT_SINGLELINE | DT_VCENTER | DT_CENTER | ((item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, format);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    InflateRect(&rc, -3, -3);
    DrawFocusRect(dc, &rc);
  }
}

void DrawLink(const DRAWITEMSTRUCT& item, const std::wstring& text, HFONT font, COLORREF color,
              HBRUSH background) {
  HDC dc = item.hDC;
  const RECT& rc = item.rcItem;
  FillRect(dc, &rc, background);
  const SelectedObject selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : color);
  RECT area = rc;
  InflateRect(&area, -2, -1);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = rc;
    DrawFocusRect(dc, &focus);
  }
}

void DrawServiceItem(const DRAWITEMSTRUCT& item, TriState state, bool enabled, bool listFocused,
                     const std::wstring& text, HFONT font, bool highlighted) {
  HDC dc = item.hDC;
  const RECT& rc = item.rcItem;
  const bool current = (item.itemState & ODS_SELECTED) != 0;
  const bool selected = current && listFocused && enabled;
  const COLORREF background = selected      ? GetSysColor(COLOR_HIGHLIGHT)
                              : highlighted ? kHighlightColor
                              : current     ? GetSysColor(COLOR_BTNFACE)
                                            : RGB(255, 255, 255);
  const COLORREF textColor = !enabled   ? GetSysColor(COLOR_GRAYTEXT)
                             : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                        : RGB(0, 0, 0);
  FillRect(dc, &rc, UniqueBrush(CreateSolidBrush(background)).Get());
  const int top = rc.top + (rc.bottom - rc.top - kGlyphSize) / 2;
  const int left = rc.left + kServiceMachineColumn + kServiceBoxIndent;
  const RECT box = {left, top, left + kGlyphSize, top + kGlyphSize};
  DrawStateGlyph(item.hwndItem, dc, box, state, enabled, false);

  RECT area = rc;
  area.left += kServiceMachineColumn + kServiceBoxColumn;
  {
    const SelectedObject selected(dc, font);
    SetTextColor(dc, textColor);
    SetBkColor(dc, background);
    ExtTextOutW(dc, area.left + kServiceTextIndent, area.top + kServiceTextTop,
                ETO_CLIPPED | ETO_OPAQUE, &area, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &rc);
}

void FillClient(HWND hwnd, HDC dc, HBRUSH brush) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(dc, &rc, brush);
}

void PaintContainer(HWND hwnd, HDC dc, HBRUSH background, Frame frame, const std::wstring& caption,
                    HFONT font, COLORREF textColor) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(dc, &rc, background);
  const SelectedObject selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColor);
  switch (frame) {
    case Frame::kNone:
      break;
    case Frame::kRaised:
      DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
      break;
    case Frame::kLowered:
      DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
      break;
    case Frame::kGroup: {
      TEXTMETRICW metrics;
      GetTextMetricsW(dc, &metrics);
      RECT edge = rc;
      edge.top += metrics.tmHeight / 2;
      DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
      if (!caption.empty()) {
        RECT title = {rc.left + 8, rc.top, rc.right - 8, rc.top + metrics.tmHeight};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &title,
                  DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        title.left -= 2;
        title.right += 2;
        FillRect(dc, &title, background);
        title.left += 2;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &title,
                  DT_SINGLELINE | DT_NOPREFIX);
      }
      break;
    }
  }
  if (frame != Frame::kGroup && !caption.empty())
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rc,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

}  // namespace kwetro::win32
