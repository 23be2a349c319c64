// Every text of the window readable in full at 96 DPI: no caption wider than
// its control, no control outside its page, no two controls on top of each
// other, whatever state the options are in.
#include "window_harness.h"

namespace kwetro::testing {
namespace {

using win32::NativeControl;
using win32::NativeKind;

int TextWidth(HWND hwnd, HFONT font, const std::wstring& text, int wrap = 0,
              int* height = nullptr) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r = {0, 0, wrap, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  if (height) *height = r.bottom - r.top;
  return r.right - r.left;
}

std::string Name(const Form& form, std::size_t i) { return form.components[i].name; }

std::string Text(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

class LayoutTest : public WindowTest {
 protected:
  // The widest extent a control can take: options in every state.
  RECT Extent(std::size_t i) {
    const NativeControl& n = window_->Natives()[i];
    RECT r = n.bounds;
    if (n.kind == NativeKind::kOption) {
      const Component& c = form_.components[i];
      const OptionDef& def = OptionDefs()[static_cast<std::size_t>(c.index)];
      int widest = 0;
      for (const std::string& caption : def.captions)
        if (!caption.empty())
          widest = std::max(widest, TextWidth(n.hwnd, n.font, win32::Wide(caption)));
      widest = std::max(widest, TextWidth(n.hwnd, n.font, n.text));
      r.right =
          std::max<LONG>(r.right, r.left + win32::kGlyphSize + win32::kOptionTextGap + widest);
    }
    return r;
  }

  bool Shown(std::size_t i) {
    const NativeControl& n = window_->Natives()[i];
    if (n.IsGraphic()) return n.visible;
    return n.hwnd && (GetWindowLongW(n.hwnd, GWL_STYLE) & WS_VISIBLE);
  }
};

TEST_F(LayoutTest, EveryCaptionFitsItsControlInEveryState) {
  Open();
  const auto& natives = window_->Natives();
  for (std::size_t i = 1; i < natives.size(); ++i) {
    const NativeControl& n = natives[i];
    if (!n.hwnd && !n.IsGraphic()) continue;
    const int width = n.bounds.right - n.bounds.left;
    if (n.kind == NativeKind::kOption) {
      const RECT widest = Extent(i);
      EXPECT_LE(widest.right - widest.left, width + (n.autoSize ? 10000 : 0)) << Name(form_, i);
    } else if (n.kind == NativeKind::kLabel && Name(form_, i) != "InfoLabel") {
      int height = 0;
      const int text = TextWidth(n.hwnd, n.font, n.text, n.wordWrap ? width : 0, &height);
      EXPECT_LE(text, width) << Name(form_, i);
      EXPECT_LE(height, n.bounds.bottom - n.bounds.top) << Name(form_, i);
    } else if (n.kind == NativeKind::kCombo) {
      const ComboControl& combo = form_.combos[static_cast<std::size_t>(form_.components[i].index)];
      for (const std::string& item : combo.items)
        EXPECT_LE(TextWidth(n.hwnd, n.font, win32::Wide(item)) + 24, width)
            << Name(form_, i) << ": " << Cp1251ToUtf8(item);
    } else if (n.kind == NativeKind::kServicesList) {
      RECT client;
      GetClientRect(n.hwnd, &client);
      for (const std::string& item : form_.services.items)
        EXPECT_LE(win32::kServiceBoxColumn + 8 + TextWidth(n.hwnd, n.font, win32::Wide(item)),
                  client.right)
            << Cp1251ToUtf8(item);
    } else if (n.kind == NativeKind::kPageControl) {
      const int tabs = static_cast<int>(SendMessageW(n.hwnd, TCM_GETITEMCOUNT, 0, 0));
      RECT last;
      SendMessageW(n.hwnd, TCM_GETITEMRECT, static_cast<WPARAM>(tabs - 1),
                   reinterpret_cast<LPARAM>(&last));
      EXPECT_LE(last.right, width) << Name(form_, i) << ": the tabs need a second row";
      EXPECT_EQ(SendMessageW(n.hwnd, TCM_GETROWCOUNT, 0, 0), 1) << Name(form_, i);
    } else if (n.kind == NativeKind::kDialogButtons) {
      for (HWND button : {n.buddy, n.second}) {
        RECT r;
        GetClientRect(button, &r);
        EXPECT_LE(TextWidth(button, n.font, TextOf(button)) + 8, r.right);
      }
    }
  }
}

TEST_F(LayoutTest, EveryHintFitsTheInformationLine) {
  Open();
  const NativeControl* info = window_->Find("InfoLabel");
  ASSERT_TRUE(info);
  const int width = info->bounds.right - info->bounds.left;
  const int height = info->bounds.bottom - info->bounds.top;
  auto check = [&](const std::string& owner, const std::wstring& hint) {
    int textHeight = 0;
    TextWidth(info->hwnd, info->font, win32::LongHint(hint), width, &textHeight);
    EXPECT_LE(textHeight, height) << owner << " has a hint longer than the information line";
  };
  const auto& natives = window_->Natives();
  for (std::size_t i = 1; i < natives.size(); ++i) check(Name(form_, i), natives[i].hint);
  for (const OptionDef& def : OptionDefs())
    for (const std::string& hint : def.hints)
      if (!hint.empty()) check(def.name, win32::Wide(hint));
}

TEST_F(LayoutTest, NoControlLeavesItsPageOrCoversAnother) {
  Open();
  const auto& natives = window_->Natives();
  std::vector<std::vector<std::size_t>> siblings(natives.size());
  for (std::size_t i = 1; i < natives.size(); ++i) {
    const NativeKind kind = natives[i].kind;
    if (kind == NativeKind::kTimer || kind == NativeKind::kPage) continue;
    if (!natives[i].hwnd && !natives[i].IsGraphic()) continue;
    siblings[static_cast<std::size_t>(form_.components[i].parent)].push_back(i);
  }
  for (std::size_t parent = 0; parent < natives.size(); ++parent) {
    if (siblings[parent].empty()) continue;
    RECT area;
    GetClientRect(natives[parent].container, &area);
    for (std::size_t a = 0; a < siblings[parent].size(); ++a) {
      const std::size_t i = siblings[parent][a];
      const RECT ri = Extent(i);
      EXPECT_TRUE(ri.left >= 0 && ri.top >= 0 && ri.right <= area.right && ri.bottom <= area.bottom)
          << Name(form_, i) << " reaches outside " << Name(form_, parent);
      for (std::size_t b = a + 1; b < siblings[parent].size(); ++b) {
        const std::size_t j = siblings[parent][b];
        // The legend moves its pictures and hides one on the services page;
        // only what shows at the same time counts.
        if (!Shown(i) || !Shown(j)) continue;
        RECT rj = Extent(j), overlap;
        EXPECT_FALSE(IntersectRect(&overlap, &ri, &rj))
            << Name(form_, i) << " " << Text(ri) << " and " << Name(form_, j) << " " << Text(rj)
            << " overlap";
      }
    }
  }
}

}  // namespace
}  // namespace kwetro::testing
