// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "ui/win32_pages.h"

#include <algorithm>

#include "app/win32_text.h"
#include "ui/win32_builders.h"
#include "ui/win32_scroll_view.h"

namespace kwetro::win32 {
namespace {

// Sizes at 96 DPI.
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 6;
constexpr int kButtonMargin = 8;
constexpr int kButtonPadding = 16;  // beside a button's text
// The OK button is as wide as the longest countdown it shows: its caption
// and as many ticks as these digits.
const wchar_t kWidestTicks[] = L" 000";
// Room after the last control of a page that scrolls, and one step of it.
constexpr int kPageMargin = 8;
constexpr int kScrollLine = 20;

// Anchored to the right edge alone; to the bottom edge alone.
bool RightOnly(unsigned a) { return (a & kAnchorRight) && !(a & kAnchorLeft); }
bool AtBottom(unsigned a) { return (a & kAnchorBottom) && !(a & kAnchorTop); }

}  // namespace

void Pages::BuildWindow() { BuildChildren(0); }

void Pages::BuildChildren(int parent) {
  parts_.built[static_cast<std::size_t>(parent)] = 1;
  const std::vector<int>& kids = parts_.children[static_cast<std::size_t>(parent)];
  for (int child : kids) {
    BuildItem(parts_, child);
    fresh_.push_back(child);
  }
  AlignChildren(parent);
  for (int child : kids) {
    const NativeControl& n = parts_.Native(child);
    // A tab control gets its tabs; a page's controls wait until the page is
    // first shown.
    if ((n.container && n.kind != NativeKind::kPage) || n.kind == NativeKind::kPageControl)
      BuildChildren(child);
  }
  for (int child : kids)
    if (parts_.Native(child).kind == NativeKind::kMenuButton) FitIntoTabRow(parts_, child);
}

void Pages::BuildPage(int page) {
  NativeControl& n = parts_.Native(page);
  if (parts_.built[static_cast<std::size_t>(page)] || n.kind != NativeKind::kPage) return;
  const int pageControl = parts_.Item(page).parent;
  HWND tabs = parts_.Native(pageControl).hwnd;
  if (!tabs) return;
  // A sibling of its tab control, just above it: it paints over the tab
  // control's display area and comes before it in the tab order, as the
  // pages of property sheets do. Its window is a view that scrolls the page
  // when the screen leaves less room than the page's controls need.
  n.bounds = PageArea(pageControl);
  n.hwnd =
      parts_.CreateControl(page, WS_EX_CONTROLPARENT, kScrollViewClass, L"",
                           WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, n.bounds, GetParent(tabs));
  const RECT room = {0, 0, n.bounds.right - n.bounds.left, n.bounds.bottom - n.bounds.top};
  n.container = parts_.CreateControl(page, WS_EX_CONTROLPARENT, kContainerClass, n.text,
                                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, room, n.hwnd);
  HWND above = GetWindow(tabs, GW_HWNDPREV);
  SetWindowPos(n.hwnd, above ? above : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  fresh_.clear();
  BuildChildren(page);
  const std::vector<int> created = std::move(fresh_);
  fresh_.clear();
  for (int item : created) onBuilt_(item);
  SetComposited();
}

RECT Pages::PageArea(int pageControl) const {
  const NativeControl& tabs = parts_.Native(pageControl);
  RECT area;
  GetClientRect(tabs.hwnd, &area);
  SendMessageW(tabs.hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  OffsetRect(&area, tabs.bounds.left, tabs.bounds.top);
  if (pageControl == parts_.Object(WindowObject::kMainPages))
    area.right = std::max(area.left, area.right - pagesMargin_);
  return area;
}

void Pages::PlacePages(int pageControl) {
  const RECT area = PageArea(pageControl);
  for (int child : parts_.children[static_cast<std::size_t>(pageControl)]) {
    NativeControl& page = parts_.Native(child);
    if (page.kind != NativeKind::kPage || !page.hwnd) continue;
    MoveWindow(page.hwnd, area.left, area.top, area.right - area.left, area.bottom - area.top,
               FALSE);
    page.bounds = area;
    AlignChildren(child);
  }
}

void Pages::FitPage(int page) {
  const NativeControl& n = parts_.Native(page);
  if (n.kind != NativeKind::kPage || !n.hwnd) return;
  // Controls anchored to an edge keep their distance to it: they never
  // need the page to scroll that way.
  SIZE content = {0, 0};
  for (int child : parts_.children[static_cast<std::size_t>(page)]) {
    const NativeControl& c = parts_.Native(child);
    const bool shown =
        c.IsGraphic() ? c.visible : c.hwnd && (GetWindowLongW(c.hwnd, GWL_STYLE) & WS_VISIBLE);
    if (!shown) continue;
    if (!(c.anchors & kAnchorRight))
      content.cx = std::max<LONG>(content.cx, c.bounds.right + parts_.Scale(kPageMargin));
    if (!(c.anchors & kAnchorBottom))
      content.cy = std::max<LONG>(content.cy, c.bounds.bottom + parts_.Scale(kPageMargin));
  }
  FitScrollView(n.hwnd, content, parts_.Scale(kScrollLine));
}

SIZE Pages::Growth(int container) const {
  const NativeControl& n = parts_.Native(container);
  if (n.kind == NativeKind::kWindow) {
    RECT client;
    GetClientRect(parts_.main, &client);
    const SIZE design = parts_.DesignClientSize();
    return {client.right - design.cx, client.bottom - design.cy};
  }
  // A page fills its tab control's display area, which grows with the tab
  // control (the main pages less the margin a preview over them takes).
  if (n.kind == NativeKind::kPage) {
    const int pageControl = parts_.Item(container).parent;
    SIZE grown = parts_.Native(pageControl).grown;
    if (pageControl == parts_.Object(WindowObject::kMainPages)) grown.cx -= pagesMargin_;
    return grown;
  }
  return n.grown;
}

void Pages::ContentChanged(int item) {
  const int page = PageOf(item);
  if (page > 0) FitPage(page);
}

int Pages::Selected(int pageControl) const {
  return static_cast<int>(SendMessageW(parts_.Native(pageControl).hwnd, TCM_GETCURSEL, 0, 0));
}

void Pages::ShowSelected(int pageControl) {
  const int shown = SelectedPage(pageControl);
  for (int child : parts_.children[static_cast<std::size_t>(pageControl)])
    if (child != shown && parts_.Native(child).kind == NativeKind::kPage &&
        parts_.Native(child).hwnd)
      ShowWindow(parts_.Native(child).hwnd, SW_HIDE);
  if (shown < 0) return;
  BuildPage(shown);
  if (!parts_.Native(shown).hwnd) return;
  ShowWindow(parts_.Native(shown).hwnd, SW_SHOW);
  for (int child : parts_.children[static_cast<std::size_t>(shown)])
    if (parts_.Native(child).kind == NativeKind::kPageControl) ShowSelected(child);
}

int Pages::PageOf(int item) const {
  for (int i = parts_.Item(item).parent; i > 0; i = parts_.Item(i).parent)
    if (parts_.Native(i).kind == NativeKind::kPage) return i;
  return -1;
}

std::vector<std::pair<int, int>> Pages::TabsAround(int item) const {
  const int page = PageOf(item);
  return page > 0 ? TabsTo(page) : std::vector<std::pair<int, int>>();
}

std::vector<std::pair<int, int>> Pages::TabsTo(int page) const {
  std::vector<std::pair<int, int>> tabs;
  for (; page > 0; page = PageOf(page)) {
    const int pageControl = parts_.Item(page).parent;
    int position = 0;
    for (int child : parts_.children[static_cast<std::size_t>(pageControl)]) {
      if (child == page) break;
      if (parts_.Native(child).kind == NativeKind::kPage) ++position;
    }
    tabs.insert(tabs.begin(), {pageControl, position});
  }
  return tabs;
}

std::vector<int> Pages::InnermostPages() const {
  std::vector<int> pages;
  for (std::size_t i = 1; i < parts_.natives.size(); ++i) {
    if (parts_.natives[i].kind != NativeKind::kPage) continue;
    const std::vector<int>& kids = parts_.children[i];
    if (std::none_of(kids.begin(), kids.end(), [this](int child) {
          return parts_.Native(child).kind == NativeKind::kPageControl;
        }))
      pages.push_back(static_cast<int>(i));
  }
  return pages;
}

int Pages::SelectedPage(int pageControl) const {
  const int selected = Selected(pageControl);
  int position = 0;
  for (int child : parts_.children[static_cast<std::size_t>(pageControl)])
    if (parts_.Native(child).kind == NativeKind::kPage && position++ == selected) return child;
  return -1;
}

int Pages::ShownPage(int pageControl) const {
  int shown = SelectedPage(pageControl);
  for (bool inner = shown > 0; inner;) {
    inner = false;
    for (int child : parts_.children[static_cast<std::size_t>(shown)])
      if (parts_.Native(child).kind == NativeKind::kPageControl && SelectedPage(child) > 0) {
        shown = SelectedPage(child);
        inner = true;
        break;
      }
  }
  return shown;
}

std::vector<std::pair<HWND, HWND>> Pages::TabRows() const {
  std::vector<std::pair<HWND, HWND>> rows;
  for (std::size_t i = 1; i < parts_.natives.size(); ++i) {
    if (parts_.natives[i].kind != NativeKind::kPageControl || !parts_.natives[i].hwnd) continue;
    const int page = SelectedPage(static_cast<int>(i));
    rows.emplace_back(parts_.natives[i].hwnd, page > 0 ? parts_.Native(page).hwnd : nullptr);
  }
  return rows;
}

void Pages::EnsureBuilt(int item) {
  std::vector<int> pages;
  for (int page = PageOf(item); page > 0; page = PageOf(page)) pages.insert(pages.begin(), page);
  for (int page : pages) BuildPage(page);
}

void Pages::BuildAll() {
  // Outer pages come before the pages inside them in layout order.
  for (std::size_t i = 1; i < parts_.natives.size(); ++i)
    if (parts_.natives[i].kind == NativeKind::kPage) BuildPage(static_cast<int>(i));
}

void Pages::Relayout() { AlignChildren(0); }

bool Pages::SetPagesMargin(int pixels) {
  if (pixels == pagesMargin_) return false;
  pagesMargin_ = pixels;
  return true;
}

bool Pages::SetInfoGrowth(int pixels) {
  if (pixels == infoGrowth_) return false;
  infoGrowth_ = pixels;
  return true;
}

void Pages::AlignChildren(int parent) {
  const NativeControl& p = parts_.Native(parent);
  if (!p.container || !parts_.built[static_cast<std::size_t>(parent)]) return;
  RECT area;
  // A page docks its controls in the room its view shows.
  GetClientRect(p.kind == NativeKind::kPage ? p.hwnd : p.container, &area);
  if (p.kind == NativeKind::kPanel || p.kind == NativeKind::kGroupBox) InflateRect(&area, -1, -1);
  const std::vector<int>& kids = parts_.children[static_cast<std::size_t>(parent)];
  auto alignOf = [this](int child) {
    const LayoutItem& item = parts_.Item(child);
    const NativeControl& n = parts_.Native(child);
    std::string align = item.Text("Align");
    if (align.empty() && n.kind == NativeKind::kPageControl && !item.Find("Width"))
      align = "alClient";
    return align;
  };
  auto place = [this](int child, const RECT& r) {
    NativeControl& n = parts_.Native(child);
    if (!n.hwnd) return;
    MoveWindow(n.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    n.bounds = r;
  };
  // Docked edges first, in layout order, then the rest goes to alClient.
  for (const std::string edge : {"alTop", "alBottom", "alLeft", "alRight"}) {
    for (int child : kids) {
      if (alignOf(child) != edge) continue;
      const RECT b = parts_.Native(child).bounds;
      RECT r = area;
      if (edge == "alTop") area.top = r.bottom = r.top + (b.bottom - b.top);
      if (edge == "alBottom") area.bottom = r.top = r.bottom - (b.bottom - b.top);
      if (edge == "alLeft") area.left = r.right = r.left + (b.right - b.left);
      if (edge == "alRight") area.right = r.left = r.right - (b.right - b.left);
      place(child, r);
    }
  }
  for (int child : kids)
    if (alignOf(child) == "alClient") place(child, area);
  Anchor(parent);

  for (int child : kids) {
    const NativeControl& n = parts_.Native(child);
    if (n.kind == NativeKind::kPageControl && n.hwnd)
      PlacePages(child);
    else if (n.kind == NativeKind::kDialogButtons)
      ArrangeButtons(child);
    else if (n.container && n.kind != NativeKind::kPage)
      AlignChildren(child);
  }
  FitPage(parent);
}

std::vector<Pages::Plan> Pages::AnchorPlans(int parent) {
  const SIZE growth = Growth(parent);
  const std::vector<int>& kids = parts_.children[static_cast<std::size_t>(parent)];
  std::vector<Plan> plans;
  for (int child : kids) {
    const unsigned a = parts_.Native(child).anchors;
    const bool stretchX = (a & kAnchorLeft) && (a & kAnchorRight);
    const bool stretchY = (a & kAnchorTop) && (a & kAnchorBottom);
    plans.push_back({{(a & kAnchorRight) && !stretchX ? growth.cx : 0,
                      (a & kAnchorBottom) && !stretchY ? growth.cy : 0},
                     {stretchX ? growth.cx : 0, stretchY ? growth.cy : 0}});
  }
  // The information line grows upwards into the room of what stretches down
  // to the bottom (the pages).
  if (parent == 0 && infoGrowth_)
    for (std::size_t i = 0; i < kids.size(); ++i) {
      const unsigned a = parts_.Native(kids[i]).anchors;
      if (kids[i] == parts_.Object(WindowObject::kInfoLine)) {
        plans[i].moved.y -= infoGrowth_;
        plans[i].grown.cy += infoGrowth_;
      } else if ((a & kAnchorTop) && (a & kAnchorBottom)) {
        plans[i].grown.cy -= infoGrowth_;
      }
    }
  return plans;
}

int Pages::BottomRowLift(int parent, const std::vector<Plan>& plans) const {
  const std::vector<int>& kids = parts_.children[static_cast<std::size_t>(parent)];
  auto planned = [&](std::size_t i) {
    const NativeControl& n = parts_.Native(kids[i]);
    RECT r = Occupied(kids[i]);
    OffsetRect(&r, plans[i].moved.x - n.moved.x, plans[i].moved.y - n.moved.y);
    r.right += plans[i].grown.cx - n.grown.cx;
    r.bottom += plans[i].grown.cy - n.grown.cy;
    return r;
  };
  int lift = 0;
  const int gap = parts_.Scale(kButtonGap);
  for (std::size_t i = 0; i < kids.size(); ++i) {
    const unsigned right = parts_.Native(kids[i]).anchors;
    if (!RightOnly(right) || !AtBottom(right)) continue;
    const RECT r = planned(i);
    for (std::size_t j = 0; j < kids.size(); ++j) {
      const unsigned left = parts_.Native(kids[j]).anchors;
      if (j == i || RightOnly(left) || (left & kAnchorRight) || !AtBottom(left)) continue;
      const RECT l = planned(j);
      if (l.top < r.bottom && r.top < l.bottom && l.right + gap > r.left)
        lift = std::max<int>(lift, l.bottom - r.top + gap);
    }
  }
  return lift;
}

void Pages::Anchor(int parent) {
  const std::vector<int>& kids = parts_.children[static_cast<std::size_t>(parent)];
  std::vector<Plan> plans = AnchorPlans(parent);
  // Where the parent is too narrow for a row at its bottom, the controls at
  // the row's left go up a row and those at its right stay: everything else
  // at the bottom goes up with them, and what stretches down to the bottom
  // gives up the room.
  const int lift = BottomRowLift(parent, plans);
  for (std::size_t i = 0; i < kids.size(); ++i) {
    const unsigned a = parts_.Native(kids[i]).anchors;
    if (lift && (a & kAnchorBottom) && !RightOnly(a)) {
      if (a & kAnchorTop)
        plans[i].grown.cy -= lift;
      else
        plans[i].moved.y -= lift;
    }
    Move(kids[i], plans[i].moved, plans[i].grown);
  }
}

void Pages::Move(int child, POINT moved, SIZE grown) {
  NativeControl& n = parts_.Native(child);
  if (moved.x == n.moved.x && moved.y == n.moved.y && grown.cx == n.grown.cx &&
      grown.cy == n.grown.cy)
    return;
  const RECT before = n.bounds;
  OffsetRect(&n.bounds, moved.x - n.moved.x, moved.y - n.moved.y);
  n.bounds.right += grown.cx - n.grown.cx;
  n.bounds.bottom += grown.cy - n.grown.cy;
  const bool resized = grown.cx != n.grown.cx || grown.cy != n.grown.cy;
  n.moved = moved;
  n.grown = grown;
  const RECT& r = n.bounds;
  if (n.hwnd) {
    // A drop-down list keeps the height of its open list.
    SetWindowPos(n.hwnd, nullptr, r.left, r.top, std::max<LONG>(0, r.right - r.left),
                 std::max<LONG>(0, r.bottom - r.top),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | (resized ? 0 : SWP_NOSIZE));
    if (n.kind == NativeKind::kSpinner && n.buddy)
      SendMessageW(n.buddy, UDM_SETBUDDY, reinterpret_cast<WPARAM>(n.hwnd), 0);
  } else if (n.IsGraphic()) {
    HWND holder = parts_.Native(parts_.Item(child).parent).container;
    InvalidateRect(holder, &before, TRUE);
    InvalidateRect(holder, &r, TRUE);
  }
}

std::vector<std::pair<HWND, int>> Pages::ButtonsOf(int bar) const {
  const NativeControl& n = parts_.Native(bar);
  auto width = [&](HWND button, const wchar_t* widest) {
    wchar_t text[128] = {};
    GetWindowTextW(button, text, 128);
    int w = std::max<int>(parts_.Scale(kButtonWidth),
                          parts_.MeasureText(n.font, text).cx + parts_.Scale(kButtonPadding));
    if (widest)
      w = std::max<int>(w, parts_.MeasureText(n.font, widest).cx + parts_.Scale(kButtonPadding));
    return w;
  };
  const std::wstring widestOk =
      Widen(WithoutMnemonic(parts_.Item(bar).Text("CaptionOk"))) + kWidestTicks;
  std::vector<std::pair<HWND, int>> buttons;
  for (HWND button : {n.second, n.buddy, n.third})
    if (button)
      buttons.emplace_back(button, width(button, button == n.buddy ? widestOk.c_str() : nullptr));
  return buttons;
}

void Pages::ArrangeButtons(int bar) {
  const NativeControl& n = parts_.Native(bar);
  const int height = parts_.Scale(kButtonHeight);
  const int top = (n.bounds.top + n.bounds.bottom - height) / 2;
  int right = n.bounds.right - parts_.Scale(kButtonMargin);
  for (const auto& [button, width] : ButtonsOf(bar)) {
    MoveWindow(button, right - width, top, width, height, FALSE);
    right -= width + parts_.Scale(kButtonGap);
  }
}

RECT Pages::Occupied(int child) const {
  const NativeControl& n = parts_.Native(child);
  RECT r = n.bounds;
  if (n.kind != NativeKind::kDialogButtons) return r;
  r.left = r.right - parts_.Scale(kButtonMargin) + parts_.Scale(kButtonGap);
  for (const auto& button : ButtonsOf(child)) r.left -= button.second + parts_.Scale(kButtonGap);
  return r;
}

void Pages::SetComposited() {
  // Painted bottom-up through one off-screen buffer: no flicker when pages
  // change or repaint.
  auto addComposited = [](HWND hwnd) {
    if (hwnd)
      SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_COMPOSITED);
  };
  for (std::size_t control = 1; control < parts_.natives.size(); ++control) {
    if (parts_.natives[control].kind != NativeKind::kPageControl) continue;
    for (int child : parts_.children[control])
      if (parts_.Native(child).kind == NativeKind::kPage) addComposited(parts_.Native(child).hwnd);
    addComposited(parts_.natives[control].hwnd);
  }
}

}  // namespace kwetro::win32
