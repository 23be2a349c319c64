// Labels and images: no window of their own, painted by the window that holds
// them, found under the mouse by their place.
// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include "ui/win32_main_window.h"

namespace kwetro::win32 {

void MainWindow::PaintGraphics(int container, HDC dc) {
  HWND owner = natives_[static_cast<std::size_t>(container)].container;
  for (int child : children_[static_cast<std::size_t>(container)]) {
    const NativeControl& n = natives_[static_cast<std::size_t>(child)];
    if (!n.IsGraphic() || !n.visible || !RectVisible(dc, &n.bounds)) continue;
    FillRect(dc, &n.bounds, Brush(n.background));
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

int MainWindow::GraphicAt(int container, POINT client) const {
  int found = -1;
  // The later one paints over the earlier one, so it is the one pointed at.
  for (int child : children_[static_cast<std::size_t>(container)]) {
    const NativeControl& n = natives_[static_cast<std::size_t>(child)];
    if (n.IsGraphic() && n.visible && PtInRect(&n.bounds, client)) found = child;
  }
  return found;
}

void MainWindow::SetGraphicVisible(int index, bool visible) {
  if (index < 0) return;
  NativeControl& n = natives_[static_cast<std::size_t>(index)];
  if (!n.IsGraphic() || n.visible == visible) return;
  n.visible = visible;
  InvalidateGraphic(index, n.bounds);
  UpdateTool(index);
}

void MainWindow::MoveGraphic(int index, POINT at) {
  if (index < 0) return;
  NativeControl& n = natives_[static_cast<std::size_t>(index)];
  if (!n.IsGraphic() || (n.bounds.left == at.x && n.bounds.top == at.y)) return;
  const RECT before = n.bounds;
  OffsetRect(&n.bounds, at.x - before.left, at.y - before.top);
  InvalidateGraphic(index, before);
  UpdateTool(index);
}

void MainWindow::InvalidateGraphic(int index, const RECT& before) {
  const int parent = form_.components[static_cast<std::size_t>(index)].parent;
  HWND owner = parent >= 0 ? natives_[static_cast<std::size_t>(parent)].container : nullptr;
  if (!owner) return;
  // Where a label shrank or an image left, the container's background shows.
  RECT dirty;
  UnionRect(&dirty, &before, &natives_[static_cast<std::size_t>(index)].bounds);
  InvalidateRect(owner, &dirty, TRUE);
}

}  // namespace kwetro::win32
