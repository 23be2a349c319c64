// Every text of the window readable in full with the window's own font, at
// the screen's DPI (window_gui.sh runs these again at 120 DPI), and the
// window on screens from 640x480 up.
#include <set>

#include "machine/export_registry.h"
#include "ui/win32_scroll_view.h"
#include "undo/byte_source.h"
#include "window_harness.h"

namespace kwetro::testing {
namespace {

using win32::NativeControl;
using win32::NativeKind;

// How wide a text shows in a font: as the system measures it, or as far as
// its ink reaches where the font draws beyond that (Wine's Tahoma at 14
// pixels does); with wrap, the height it takes in that width. mnemonic: "&"
// underlines the letter after it and takes no room.
int TextWidth(HFONT font, const std::wstring& text, int wrap = 0, int* height = nullptr,
              bool mnemonic = false) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = nullptr;
  RECT r = {0, 0, wrap, 0};
  const UINT format = (mnemonic ? 0 : DT_NOPREFIX) | (wrap ? DT_WORDBREAK : DT_SINGLELINE);
  HGDIOBJ oldFont = SelectObject(dc, font);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | format);
  int width = r.right - r.left;
  if (!wrap && width > 0) {
    const int w = width + 64, h = r.bottom - r.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    canvas = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, canvas);
    RECT all = {0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, 0);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &all, format);
    GdiFlush();
    const auto* pixel = static_cast<const DWORD*>(bits);
    for (int y = 0; y < h; ++y)
      for (int x = width; x < w; ++x)
        if ((pixel[y * w + x] & 0xFFFFFF) != 0xFFFFFF) width = std::max(width, x + 1);
    SelectObject(dc, oldBitmap);
  }
  SelectObject(dc, oldFont);
  if (canvas) DeleteObject(canvas);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  if (height) *height = r.bottom - r.top;
  return width;
}

std::string Where(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The screens the checks run on; 0 x 0: the screen of the test, where the
// window has its designed size.
struct Screen {
  int width, height;
  bool computerRead = false;  // «Этот компьютер» has read a computer
};

std::string ScreenName(const ::testing::TestParamInfo<Screen>& screen) {
  const Screen& s = screen.param;
  return (s.width ? "At" + std::to_string(s.width) + "x" + std::to_string(s.height)
                  : std::string("AtTheDesignedSize")) +
         (s.computerRead ? "WithThisComputerRead" : "");
}

class LayoutTest : public WindowTest, public ::testing::WithParamInterface<Screen> {
 protected:
  void OpenOnTheScreen() {
    if (GetParam().width)
      OpenOnScreen(GetParam().width, GetParam().height);
    else
      Open();
  }
  const LayoutItem& Item(std::size_t i) { return layout_.items[i]; }
  // The widest extent a control can take: options in every state, a button
  // bar where its buttons are.
  RECT Extent(std::size_t i) {
    const NativeControl& n = window_->Natives()[i];
    RECT r = n.bounds;
    if (n.kind == NativeKind::kDialogButtons) {
      r.left = r.right;
      for (HWND button : {n.buddy, n.second, n.third}) {
        RECT b = ScreenRect(button);
        MapWindowPoints(nullptr, GetParent(button), reinterpret_cast<POINT*>(&b), 2);
        r.left = std::min(r.left, b.left);
      }
      return r;
    }
    if (n.kind != NativeKind::kOption) return r;
    const OptionDecl& option = Controls().options[static_cast<std::size_t>(Item(i).index)];
    int widest = 0;
    for (TriState state : {cbUnchecked, cbChecked, cbGrayed})
      widest = std::max(widest, TextWidth(n.font, Widen(kwetro::Caption(option, state))));
    r.right = std::max<LONG>(r.right, r.left + win32::kGlyphSize + win32::kOptionTextGap + widest);
    return r;
  }
  // Where an item shows something: a tab control its tabs (not the free end
  // of their row, where a button may stand) and its pages' area; any other
  // item its extent.
  std::vector<RECT> Parts(std::size_t i) {
    const NativeControl& n = window_->Natives()[i];
    if (n.kind != NativeKind::kPageControl) return {Extent(i)};
    RECT area = {0, 0, n.bounds.right - n.bounds.left, n.bounds.bottom - n.bounds.top}, tabs;
    SendMessageW(n.hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const int last = static_cast<int>(SendMessageW(n.hwnd, TCM_GETITEMCOUNT, 0, 0)) - 1;
    SendMessageW(n.hwnd, TCM_GETITEMRECT, static_cast<WPARAM>(last),
                 reinterpret_cast<LPARAM>(&tabs));
    tabs.left = 0;
    for (RECT* r : {&area, &tabs}) OffsetRect(r, n.bounds.left, n.bounds.top);
    return {area, tabs};
  }
  bool Shown(std::size_t i) {
    const NativeControl& n = window_->Natives()[i];
    if (n.kind == NativeKind::kDialogButtons) return true;
    return n.IsGraphic() ? n.visible : n.hwnd && (GetWindowLongW(n.hwnd, GWL_STYLE) & WS_VISIBLE);
  }
};

TEST_P(LayoutTest, EveryCaptionFitsItsControlInEveryState) {
  OpenOnTheScreen();
  const auto& natives = window_->Natives();
  for (std::size_t i = 1; i < natives.size(); ++i) {
    const NativeControl& n = natives[i];
    const std::string& name = Item(i).name;
    const int width = n.bounds.right - n.bounds.left;
    if (n.kind == NativeKind::kOption) {
      // A box sized to its caption fits the caption it has; any other, every caption.
      const int caption =
          n.autoSize ? TextWidth(n.font, n.text)
                     : Extent(i).right - Extent(i).left - win32::kGlyphSize - win32::kOptionTextGap;
      EXPECT_LE(win32::kGlyphSize + win32::kOptionTextGap + caption, width) << name;
    } else if ((n.kind == NativeKind::kLabel && name != "InfoLabel") ||
               n.kind == NativeKind::kLink) {
      int height = 0;
      EXPECT_LE(TextWidth(n.font, n.text, n.wordWrap ? width : 0, &height, n.focusControl >= 0),
                width)
          << name;
      EXPECT_LE(height, n.bounds.bottom - n.bounds.top) << name;
    } else if (n.kind == NativeKind::kCombo) {
      const int arrow = GetSystemMetrics(SM_CXVSCROLL) + 8;
      for (std::string_view item : Controls().combos[static_cast<std::size_t>(Item(i).index)].items)
        EXPECT_LE(TextWidth(n.font, Widen(item)) + arrow, width) << name << ": " << item;
    } else if (n.kind == NativeKind::kServicesList) {
      RECT client;
      GetClientRect(n.hwnd, &client);
      for (const ServiceDecl& service : Controls().services)
        EXPECT_LE(win32::kServiceMachineColumn + win32::kServiceBoxColumn +
                      win32::kServiceTextIndent + TextWidth(n.font, Widen(service.ItemText())),
                  client.right)
            << service.key;
    } else if (n.kind == NativeKind::kPageControl) {
      EXPECT_EQ(SendMessageW(n.hwnd, TCM_GETROWCOUNT, 0, 0), 1) << name << ": a second row of tabs";
      const int tabs = static_cast<int>(SendMessageW(n.hwnd, TCM_GETITEMCOUNT, 0, 0));
      for (int tab = 0; tab < tabs; ++tab) {
        wchar_t text[128] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(n.hwnd, TCM_GETITEMW, static_cast<WPARAM>(tab),
                     reinterpret_cast<LPARAM>(&item));
        RECT r;
        SendMessageW(n.hwnd, TCM_GETITEMRECT, static_cast<WPARAM>(tab),
                     reinterpret_cast<LPARAM>(&r));
        EXPECT_LE(TextWidth(n.font, text) + 6, r.right - r.left) << name << ": tab " << tab;
      }
    } else if (n.kind == NativeKind::kMenuButton) {
      // Beside the arrow at its right.
      EXPECT_LE(TextWidth(n.font, n.text, 0, nullptr, true) + 8 + win32::kMenuArrowRoom, width)
          << name;
    } else if (n.kind == NativeKind::kDialogButtons) {
      for (HWND button : {n.buddy, n.second, n.third}) {
        RECT r;
        GetClientRect(button, &r);
        EXPECT_LE(TextWidth(n.font, TextOf(button), 0, nullptr, true) + 8, r.right);
      }
    }
  }
}

TEST_P(LayoutTest, NoControlLeavesWhatItsPageShowsOrCoversAnother) {
  OpenOnTheScreen();
  const auto& natives = window_->Natives();
  // Siblings by the window that holds them: a page lies in its tab control's parent.
  std::map<std::size_t, std::vector<std::size_t>> siblings;
  for (std::size_t i = 1; i < natives.size(); ++i) {
    const NativeControl& n = natives[i];
    if (n.kind == NativeKind::kTimer || n.kind == NativeKind::kPage) continue;
    if (!n.hwnd && !n.IsGraphic() && n.kind != NativeKind::kDialogButtons) continue;
    siblings[static_cast<std::size_t>(Item(i).parent)].push_back(i);
  }
  for (const auto& [parent, items] : siblings) {
    // A page shows what its view has room for; here it needs no scrolling.
    const NativeControl& holder = natives[parent];
    RECT area;
    GetClientRect(holder.kind == NativeKind::kPage ? holder.hwnd : holder.container, &area);
    for (std::size_t a = 0; a < items.size(); ++a) {
      const RECT ri = Extent(items[a]);
      EXPECT_TRUE(Inside(ri, area))
          << Item(items[a]).name << " " << Where(ri) << " reaches outside " << Where(area);
      for (std::size_t b = a + 1; b < items.size(); ++b) {
        // The legend moves its pictures and hides one on the services page;
        // only what shows at the same time counts.
        if (!Shown(items[a]) || !Shown(items[b])) continue;
        for (const RECT& pa : Parts(items[a]))
          for (const RECT& pb : Parts(items[b])) {
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &pa, &pb))
                << Item(items[a]).name << " " << Where(pa) << " and " << Item(items[b]).name << " "
                << Where(pb) << " overlap";
          }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, LayoutTest, ::testing::Values(Screen{0, 0}, Screen{800, 600}),
                         ScreenName);

// Every text the information line shows, as it shows it: the mouse on each
// control and label of every page in turn (each state of an option whose
// hint follows its state), the line's text measured in its font and width.
class HintTest : public LayoutTest {};

TEST_P(HintTest, EveryHintFitsTheInformationLineWhole) {
  OpenOnTheScreen();
  if (GetParam().computerRead) {
    // A computer that holds nothing the scripts write: the line says so
    // before every hint.
    window_->readMachine = [] {
      undo::MemorySource source(
          "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n\r\n"
          "[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes]\r\n\r\n"
          "[HKEY_USERS]\r\n\r\n[HKEY_USERS\\S-1-5-21-0-0-0-1000]\r\n\r\n");
      machine::ExportRegistry registry("");
      machine::ExportProblem problem;
      undo::ReadWarnings warnings;
      EXPECT_TRUE(registry.Read(source, problem, warnings)) << problem.what;
      return machine::ReadMachine(registry);
    };
    window_->CompareWithMachine();
  }
  const auto& natives = window_->Natives();
  const NativeControl* info = window_->Find("InfoLabel");
  std::set<std::string> seen;
  // The line shows the item's hint whole (after what it says of this
  // computer), and its text fits the line as it is drawn.
  auto check = [&](const std::string& owner, const std::wstring& hint) {
    const std::wstring shown = window_->InfoText();
    const std::wstring whole = win32::LongHint(hint).substr(1);
    EXPECT_TRUE(shown.size() >= whole.size() &&
                shown.compare(shown.size() - whole.size(), whole.size(), whole) == 0)
        << owner << ": the line shows only " << Narrow(shown);
    const int width = info->bounds.right - info->bounds.left;
    int height = 0;
    TextWidth(info->font, shown, width, &height);
    EXPECT_LE(height, info->bounds.bottom - info->bounds.top)
        << owner << ": its hint is cut at " << width << " pixels";
  };
  const std::size_t pages = Controls().pages.size();
  for (std::size_t page = 0; page < pages; ++page) {
    for (std::size_t i = 1; i < natives.size(); ++i) {
      const NativeControl& n = natives[i];
      const std::string& name = Item(i).name;
      HWND holder = HolderOf(name.c_str());
      HWND own = n.kind == NativeKind::kDialogButtons ? n.buddy : n.hwnd;
      const bool shown = n.IsGraphic() ? n.visible && holder && IsWindowVisible(holder)
                                       : own && IsWindowVisible(own);
      const std::string key = name + "|" + Narrow(win32::LongHint(n.hint));
      if (!shown || n.hint.empty() || !seen.insert(key).second) continue;
      if (n.IsGraphic()) {
        MouseOverGraphic(name.c_str());
      } else {
        MouseOver(window_->Handle(), 0, 0);  // away first: the line follows a change
        MouseOver(n.kind == NativeKind::kDialogButtons ? n.buddy : n.hwnd);
      }
      check(name, n.hint);
      // An option whose hint follows its state, in each state.
      if (n.kind == NativeKind::kOption &&
          !Controls().options[static_cast<std::size_t>(Item(i).index)].stateHints[0].empty())
        for (int click = 0; click < 3; ++click) {
          Click(n.hwnd);
          check(name + " after a click", n.hint);
        }
    }
    Key(GetFocus(), VK_TAB, true);  // the next page
  }
  // The walk reached every item that has a hint (the legend of the marks
  // shows once a computer is read).
  for (std::size_t i = 1; i < natives.size(); ++i) {
    if (natives[i].hint.empty()) continue;
    if (!GetParam().computerRead && Item(i).name.rfind("Mark", 0) == 0) continue;
    const std::string& name = Item(i).name;
    EXPECT_TRUE(
        std::any_of(seen.begin(), seen.end(),
                    [&name](const std::string& key) { return key.rfind(name + "|", 0) == 0; }))
        << name << " was not pointed at";
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, HintTest,
                         ::testing::Values(Screen{0, 0}, Screen{800, 600}, Screen{640, 480},
                                           Screen{800, 600, true}),
                         ScreenName);

class ScreenTest : public WindowTest {
 protected:
  RECT Work() {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
  }
  // The buttons and the search field lie wholly in the work area and in
  // the part of the window they show in.
  void ExpectWithinReach() {
    const NativeControl& bar = *window_->Find("RzDialogButtons1");
    RECT client;
    GetClientRect(window_->Handle(), &client);
    MapWindowPoints(window_->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_TRUE(Inside(ScreenRect(window_->Handle()), Work()))
        << Where(ScreenRect(window_->Handle())) << " " << Where(Work());
    for (HWND control : {bar.third, bar.buddy, bar.second, window_->Search().Field()}) {
      const RECT r = ScreenRect(control);
      EXPECT_TRUE(Inside(r, Work()) && Inside(r, client))
          << Narrow(TextOf(control)) << " " << Where(r) << " not within " << Where(client);
    }
  }
  int Scaled(int pixels) { return MulDiv(pixels, win32::ScreenDpi(), 96); }
};

TEST_F(ScreenTest, At800x600TheButtonsTheSearchAndTheCountdownAreOnTheScreen) {
  Deploy(900);
  OpenOnScreen(800, 600);
  ExpectWithinReach();
  EXPECT_EQ(Countdown().rfind(W("&Применить 89"), 0), 0u) << "no countdown";
}

// At 640x480 the note and the link go up a row beside the buttons, and the
// pages scroll: the keyboard brings every control of a page into view.
TEST_F(ScreenTest, At640x480EveryButtonIsReachableAndTheKeyboardScrollsThePages) {
  OpenOnScreen(640, 480);
  ExpectWithinReach();
  std::vector<RECT> bottom;
  for (const char* name : {"RzCheckBox1", "RzURLLabel1"})
    bottom.push_back(ScreenRect(Control(name)));
  const NativeControl& bar = *window_->Find("RzDialogButtons1");
  for (HWND button : {bar.third, bar.buddy, bar.second}) bottom.push_back(ScreenRect(button));
  for (std::size_t a = 0; a < bottom.size(); ++a)
    for (std::size_t b = a + 1; b < bottom.size(); ++b) {
      RECT overlap;
      EXPECT_FALSE(IntersectRect(&overlap, &bottom[a], &bottom[b])) << a << " and " << b;
    }

  // The page of the spinners, walked with Tab from its first control to its last.
  SelectPage("PageControl2", 3);
  HWND first = Control("sCheckBox_4_1");
  HWND view = GetParent(GetParent(first));
  SetFocus(first);
  int seen = 0;
  for (HWND focus = first; seen < 40 && IsChild(view, focus); focus = GetFocus(), ++seen) {
    RECT shown;
    GetClientRect(view, &shown);
    MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&shown), 2);
    EXPECT_TRUE(Inside(ScreenRect(focus), shown))
        << Narrow(TextOf(focus)) << " " << Where(ScreenRect(focus)) << " out of " << Where(shown);
    Key(focus, VK_TAB);
  }
  EXPECT_GT(seen, 8);
  EXPECT_GT(win32::ScrollPosition(view).y, 0) << "the page did not need to scroll";
}

// With the preview open at 640x480 the pages are narrower than their
// captions: Tab scrolls them down to each option but never sideways so far
// that the column of boxes leaves the view.
TEST_F(ScreenTest, At640x480TabKeepsTheBoxesInViewBesideThePreview) {
  OpenOnScreen(640, 480);
  SelectPage("PageControl1", 2);
  HWND first = Control("iCheckBox_2_1");
  HWND view = GetParent(GetParent(first));
  SetFocus(first);
  Key(first, VK_F4);
  ASSERT_TRUE(window_->FilePreview().IsOpen());
  RECT shown;
  GetClientRect(view, &shown);
  ASSERT_LT(shown.right,
            TextWidth(window_->Find("iCheckBox_2_11")->font, Caption("iCheckBox_2_11")))
      << "the page is wide enough for its captions";
  MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&shown), 2);
  int seen = 0;
  for (HWND focus = first; seen < 40 && IsChild(view, focus); focus = GetFocus(), ++seen) {
    const RECT r = ScreenRect(focus);
    const RECT box = {r.left, r.top, r.left + win32::kGlyphSize, r.bottom};
    EXPECT_TRUE(Inside(box, shown)) << Narrow(TextOf(focus)) << " " << Where(box);
    EXPECT_EQ(win32::ScrollPosition(view).x, 0) << Narrow(TextOf(focus));
    Key(focus, VK_TAB);
  }
  EXPECT_GT(seen, 8);
}

// Where the screen has room the window has its designed size and every
// control its designed place, also after it was made smaller and larger again.
TEST_F(ScreenTest, WhereTheScreenHasRoomTheLayoutIsAsDesigned) {
  Open();
  SelectPage("PageControl1", 4);
  auto expectDesigned = [&](const char* when) {
    RECT client;
    GetClientRect(window_->Handle(), &client);
    EXPECT_EQ(client.right, Scaled(layout_.items[0].Int("ClientWidth"))) << when;
    EXPECT_EQ(client.bottom, Scaled(layout_.items[0].Int("ClientHeight"))) << when;
    for (const char* name :
         {"PageControl1", "CheckListBox1", "SearchEdit", "InfoLabel", "RzDialogButtons1"}) {
      const LayoutItem& item = layout_.items[static_cast<std::size_t>(layout_.Named(name))];
      const RECT designed = {Scaled(item.Int("Left")), Scaled(item.Int("Top")),
                             Scaled(item.Int("Left") + item.Int("Width")),
                             Scaled(item.Int("Top") + item.Int("Height"))};
      EXPECT_TRUE(EqualRect(&window_->Find(name)->bounds, &designed))
          << name << " " << Where(window_->Find(name)->bounds) << " " << when;
    }
  };
  expectDesigned("at the start");
  RECT frame = ScreenRect(window_->Handle());
  SetWindowPos(window_->Handle(), nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
  Pump(30);
  RECT least;
  GetClientRect(window_->Handle(), &least);
  EXPECT_EQ(least.right, Scaled(layout_.items[0].Int("MinClientWidth")));
  EXPECT_EQ(least.bottom, Scaled(layout_.items[0].Int("MinClientHeight")));
  SetWindowPos(window_->Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  Pump(30);
  expectDesigned("made smaller and larger again");
}

}  // namespace
}  // namespace kwetro::testing
