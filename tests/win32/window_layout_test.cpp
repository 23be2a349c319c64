// Every text of the window readable in full at 96 DPI with the window's own
// font: no caption wider than its control in any state, every hint within the
// information line, no control outside its page or on top of another.
#include "window_harness.h"

namespace kwetro::testing {
namespace {

using win32::NativeControl;
using win32::NativeKind;

// mnemonic: "&" underlines the letter after it and takes no room.
int TextWidth(HFONT font, const std::wstring& text, int wrap = 0, int* height = nullptr,
              bool mnemonic = false) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r = {0, 0, wrap, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | (mnemonic ? 0 : DT_NOPREFIX) | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  if (height) *height = r.bottom - r.top;
  return r.right - r.left;
}

std::string Where(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

class LayoutTest : public WindowTest {
 protected:
  const LayoutItem& Item(std::size_t i) { return layout_.items[i]; }
  // The widest extent a control can take: options in every state.
  RECT Extent(std::size_t i) {
    const NativeControl& n = window_->Natives()[i];
    RECT r = n.bounds;
    if (n.kind != NativeKind::kOption) return r;
    const OptionDecl& option = Controls().options[static_cast<std::size_t>(Item(i).index)];
    int widest = 0;
    for (TriState state : {cbUnchecked, cbChecked, cbGrayed})
      widest = std::max(widest, TextWidth(n.font, Widen(kwetro::Caption(option, state))));
    r.right = std::max<LONG>(r.right, r.left + win32::kGlyphSize + win32::kOptionTextGap + widest);
    return r;
  }
  bool Shown(std::size_t i) {
    const NativeControl& n = window_->Natives()[i];
    return n.IsGraphic() ? n.visible : n.hwnd && (GetWindowLongW(n.hwnd, GWL_STYLE) & WS_VISIBLE);
  }
};

TEST_F(LayoutTest, EveryCaptionFitsItsControlInEveryState) {
  Open();
  const auto& natives = window_->Natives();
  for (std::size_t i = 1; i < natives.size(); ++i) {
    const NativeControl& n = natives[i];
    const std::string& name = Item(i).name;
    const int width = n.bounds.right - n.bounds.left;
    if (n.kind == NativeKind::kOption && !n.autoSize) {
      const RECT widest = Extent(i);
      EXPECT_LE(widest.right - widest.left, width) << name;
    } else if (n.kind == NativeKind::kLabel && name != "InfoLabel") {
      int height = 0;
      EXPECT_LE(TextWidth(n.font, n.text, n.wordWrap ? width : 0, &height, n.focusControl >= 0),
                width)
          << name;
      EXPECT_LE(height, n.bounds.bottom - n.bounds.top) << name;
    } else if (n.kind == NativeKind::kCombo) {
      for (std::string_view item : Controls().combos[static_cast<std::size_t>(Item(i).index)].items)
        EXPECT_LE(TextWidth(n.font, Widen(item)) + 24, width) << name << ": " << item;
    } else if (n.kind == NativeKind::kServicesList) {
      RECT client;
      GetClientRect(n.hwnd, &client);
      for (const ServiceDecl& service : Controls().services)
        EXPECT_LE(win32::kServiceBoxColumn + 8 + TextWidth(n.font, Widen(service.ItemText())),
                  client.right)
            << service.key;
    } else if (n.kind == NativeKind::kPageControl) {
      EXPECT_EQ(SendMessageW(n.hwnd, TCM_GETROWCOUNT, 0, 0), 1) << name << ": a second row of tabs";
    } else if (n.kind == NativeKind::kDialogButtons) {
      for (HWND button : {n.buddy, n.second}) {
        RECT r;
        GetClientRect(button, &r);
        EXPECT_LE(TextWidth(n.font, TextOf(button), 0, nullptr, true) + 8, r.right);
      }
    }
  }
}

TEST_F(LayoutTest, EveryHintFitsTheInformationLine) {
  Open();
  const NativeControl* info = window_->Find("InfoLabel");
  const int width = info->bounds.right - info->bounds.left;
  const int height = info->bounds.bottom - info->bounds.top;
  auto check = [&](std::string_view owner, const std::wstring& hint) {
    int textHeight = 0;
    TextWidth(info->font, win32::LongHint(hint), width, &textHeight);
    EXPECT_LE(textHeight, height) << owner << " has a hint longer than the information line";
  };
  const auto& natives = window_->Natives();
  for (std::size_t i = 1; i < natives.size(); ++i) check(Item(i).name, natives[i].hint);
  for (const OptionDecl& option : Controls().options)
    for (TriState state : {cbUnchecked, cbChecked, cbGrayed})
      check(option.name, Widen(Hint(option, state)));
}

TEST_F(LayoutTest, NoControlLeavesItsPageOrCoversAnother) {
  Open();
  const auto& natives = window_->Natives();
  // Siblings by the window that holds them: a page lies in its tab control's parent.
  std::map<HWND, std::vector<std::size_t>> siblings;
  for (std::size_t i = 1; i < natives.size(); ++i) {
    const NativeControl& n = natives[i];
    if (n.kind == NativeKind::kTimer || n.kind == NativeKind::kPage) continue;
    if (!n.hwnd && !n.IsGraphic()) continue;
    siblings[natives[static_cast<std::size_t>(Item(i).parent)].container].push_back(i);
  }
  for (const auto& [holder, items] : siblings) {
    RECT area;
    GetClientRect(holder, &area);
    for (std::size_t a = 0; a < items.size(); ++a) {
      const RECT ri = Extent(items[a]);
      EXPECT_TRUE(ri.left >= 0 && ri.top >= 0 && ri.right <= area.right && ri.bottom <= area.bottom)
          << Item(items[a]).name << " " << Where(ri) << " reaches outside " << Where(area);
      for (std::size_t b = a + 1; b < items.size(); ++b) {
        // The legend moves its pictures and hides one on the services page;
        // only what shows at the same time counts.
        if (!Shown(items[a]) || !Shown(items[b])) continue;
        RECT rj = Extent(items[b]), overlap;
        EXPECT_FALSE(IntersectRect(&overlap, &ri, &rj))
            << Item(items[a]).name << " " << Where(ri) << " and " << Item(items[b]).name << " "
            << Where(rj) << " overlap";
      }
    }
  }
}

}  // namespace
}  // namespace kwetro::testing
