// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include "ui/win32_pages.h"

#include <algorithm>

#include "ui/win32_builders.h"

namespace kwetro::win32 {
namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 6;
constexpr int kButtonMargin = 8;

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
}

void Pages::BuildPage(int page) {
  NativeControl& n = parts_.Native(page);
  if (parts_.built[static_cast<std::size_t>(page)] || n.kind != NativeKind::kPage) return;
  const int pageControl = parts_.Item(page).parent;
  HWND tabs = parts_.Native(pageControl).hwnd;
  if (!tabs) return;
  // A sibling of its tab control, just above it: it paints over the tab
  // control's display area and comes before it in the tab order, as the
  // pages of property sheets do.
  n.bounds = PageArea(pageControl);
  n.hwnd =
      parts_.CreateControl(page, WS_EX_CONTROLPARENT, kContainerClass, n.text,
                           WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, n.bounds, GetParent(tabs));
  n.container = n.hwnd;
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
  }
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

void Pages::AlignChildren(int parent) {
  const NativeControl& p = parts_.Native(parent);
  if (!p.container) return;
  RECT area;
  GetClientRect(p.container, &area);
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

  for (int child : kids) {
    NativeControl& n = parts_.Native(child);
    if (n.kind == NativeKind::kPageControl && n.hwnd) PlacePages(child);
    if (n.kind != NativeKind::kDialogButtons || !n.buddy) continue;
    // The button bar keeps its buttons at the right, the OK button wide
    // enough for the longest countdown so that it never jumps.
    const RECT& bar = n.bounds;
    wchar_t ok[128];
    GetWindowTextW(n.buddy, ok, 128);
    const int cancelWidth = std::max<int>(kButtonWidth, parts_.MeasureText(n.font, n.text).cx + 16);
    const int okWidth = std::max<int>({kButtonWidth, parts_.MeasureText(n.font, ok).cx + 16,
                                       parts_.MeasureText(n.font, L"Применить 000").cx + 16});
    const int top = (bar.top + bar.bottom - kButtonHeight) / 2;
    const int cancelLeft = bar.right - kButtonMargin - cancelWidth;
    MoveWindow(n.second, cancelLeft, top, cancelWidth, kButtonHeight, FALSE);
    const int okLeft = cancelLeft - kButtonGap - okWidth;
    MoveWindow(n.buddy, okLeft, top, okWidth, kButtonHeight, FALSE);
    if (n.third) {
      wchar_t preview[128];
      GetWindowTextW(n.third, preview, 128);
      const int width = std::max<int>(kButtonWidth, parts_.MeasureText(n.font, preview).cx + 16);
      MoveWindow(n.third, okLeft - kButtonGap - width, top, width, kButtonHeight, FALSE);
    }
  }
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
