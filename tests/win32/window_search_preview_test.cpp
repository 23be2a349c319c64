// The search field and the preview of the files, driven as a user does.
#include "app/settings_file.h"
#include "window_harness.h"

namespace kwetro::testing {
namespace {

class SearchTest : public WindowTest {
 protected:
  void Find(const char* text) {
    SetWindowTextW(window_->Search().Field(), W(text).c_str());
    Pump(30);
  }
  std::wstring Count() { return window_->Find("SearchCount")->text; }
};

TEST_F(SearchTest, AValueNameOrAWordGoesToTheControlAndItsPage) {
  Open();
  const int autorun = layout_.Named("sComboBox_5_1");
  for (const char* text : {"NoDriveTypeAutoRun", "автозапуск", "AUTORUN", "Автозапуск"}) {
    SelectPage("PageControl1", 0);
    SelectPage("PageControl2", 0);
    Find(text);
    EXPECT_EQ(Count(), W("1 из 1")) << text;
    HWND field = window_->Search().Field();
    SetFocus(field);
    Pump(20);
    Key(field, VK_RETURN);
    EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 4) << text;
    EXPECT_EQ(GetFocus(), field) << text;
    EXPECT_TRUE(window_->Find("sLabel5_2")->highlighted) << text;
    // Esc leaves the search for the match Enter went to.
    Key(field, VK_ESCAPE);
    EXPECT_EQ(GetFocus(), window_->Natives()[static_cast<std::size_t>(autorun)].hwnd) << text;
    EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 4) << text;
    EXPECT_FALSE(window_->Find("sLabel5_2")->highlighted) << text;
  }
}

TEST_F(SearchTest, ServicesByKeyNameAndF3ThroughTheMatches) {
  Open();
  Find("srservice");
  EXPECT_EQ(Count(), W("1 из 1"));
  HWND field = window_->Search().Field();
  SetFocus(field);
  Pump(20);
  Key(field, VK_RETURN);
  EXPECT_EQ(SendMessageW(Control("PageControl1"), TCM_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(SendMessageW(Control("CheckListBox1"), LB_GETCURSEL, 0, 0), ServiceIndex("srservice"));

  Find("Проводник");  // several options on several pages
  const int matches = static_cast<int>(window_->Search().Matches().size());
  ASSERT_GT(matches, 2);
  const std::wstring of = L" из " + std::to_wstring(matches);
  // In the field Enter and F3 go on, with Shift back, and the keys stay.
  const struct {
    WPARAM key;
    bool shift;
    int current;
  } steps[] = {{VK_RETURN, false, 1},
               {VK_RETURN, false, 2},
               {VK_F3, false, 3},
               {VK_F3, true, 2},
               {VK_RETURN, true, 1},
               {VK_RETURN, true, 0},
               {VK_RETURN, true, matches - 1}};
  for (const auto& step : steps) {
    Key(field, step.key, false, step.shift);
    EXPECT_EQ(window_->Search().Current(), step.current) << step.key << step.shift;
    EXPECT_EQ(Count(), std::to_wstring(step.current + 1) + of);
    EXPECT_EQ(GetFocus(), field);
  }
  // F3 from elsewhere takes the keys to the next match.
  SetFocus(Control("PageControl1"));
  Key(GetFocus(), VK_F3);
  EXPECT_EQ(window_->Search().Current(), 0);
  EXPECT_NE(GetFocus(), field);
  EXPECT_EQ(Count(), L"1" + of);

  Find("нет такого текста");
  EXPECT_EQ(Count(), W("не найдено"));
  Key(window_->Search().Field(), VK_ESCAPE);
  EXPECT_EQ(TextOf(window_->Search().Field()), L"");
  EXPECT_EQ(Count(), L"");
  // Ctrl+F brings the keyboard back to the field.
  Key(GetFocus(), 'F', true);
  EXPECT_EQ(GetFocus(), window_->Search().Field());
}

// Typing shows where a match is and what it writes, while the keys stay in
// the field; a text that finds nothing takes the highlight away and returns to the
// page and sub-page the search started from; Esc clears the search from
// anywhere, also once Enter went to the match.
TEST_F(SearchTest, ShowsWhileTypingReturnsWhenNothingIsFoundAndEscClearsFromAnywhere) {
  Open();
  SelectPage("PageControl2", 2);
  window_->Search().Focus();
  HWND field = window_->Search().Field();
  Find("NoDriveTypeAutoRun");
  EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 4);
  EXPECT_TRUE(window_->Find("sLabel5_2")->highlighted);
  EXPECT_EQ(window_->InfoText(),
            L" " + Widen(Controls().combos[ComboIndex("sComboBox_5_1")].explanation));
  Find("NoDriveTypeAutoRunX");
  EXPECT_EQ(Count(), W("не найдено"));
  EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 2);
  EXPECT_FALSE(window_->Find("sLabel5_2")->highlighted);
  EXPECT_EQ(window_->InfoText(), win32::LongHint(window_->Find("SearchEdit")->hint));
  EXPECT_EQ(GetFocus(), field);

  Find("DisableSR");
  EXPECT_EQ(Count(), W("1 из 1"));
  Key(field, VK_RETURN);
  EXPECT_EQ(GetFocus(), field);
  HWND option = Control("sCheckBox_1_9");
  Key(field, VK_ESCAPE);
  ASSERT_EQ(GetFocus(), option);
  EXPECT_EQ(TextOf(field), L"");
  EXPECT_FALSE(window_->Find("sCheckBox_1_9")->highlighted);
  EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 0) << "Enter went there";
  // Esc elsewhere clears and leaves the keys where they are.
  Find("DisableSR");
  Key(option, VK_ESCAPE);
  EXPECT_EQ(TextOf(field), L"");
  EXPECT_EQ(GetFocus(), option);
}

// What the preview shows is what kwetro-cli writes for the same selection.
TEST_F(WindowTest, ThePreviewShowsWhatApplyWouldWriteAfterEveryClick) {
  Open();
  Key(Control("sCheckBox_1_1"), VK_F4);
  win32::Preview& preview = window_->FilePreview();
  ASSERT_TRUE(preview.IsOpen());
  ClickUntil("sCheckBox_1_9", cbChecked);
  SelectPage("PageControl1", 4);
  ClickUntil("srCheckBox_1_1", cbUnchecked);
  EXPECT_EQ(preview.ShownFile(), 1) << "the services are in hklm.reg";

  // kwetro-cli's scripts of the selection as it is now, and the file shown.
  const auto cliScripts = [this] {
    std::string reason;
    EXPECT_TRUE(WriteFileAtomically(folder_ + "\\k.ini", StoreSettings(selection_, ""), reason));
    return CliScripts(folder_ + "\\k.ini");
  };
  const auto expectShown = [&preview](int file, const std::string& path) {
    preview.ShowFile(file);
    EXPECT_EQ(preview.Text(), Widen(Cp1251ToUtf8(ReadFile(path)))) << path;
  };
  std::string cli = cliScripts();
  expectShown(1, cli + "\\hklm.reg");
  expectShown(0, cli + "\\hkcu.reg");
  // For every user it shows the files that go with them too, as Apply
  // writes them (activesetup.reg bears the time of writing).
  ClickUntil("dCheckBox_1_1", cbChecked);
  const std::vector<std::wstring> everyUser = {L"hkcu.reg", L"hklm.reg", L"user.reg",
                                               L"activesetup.reg", L"profiles.reg"};
  EXPECT_EQ(preview.FileNames(), everyUser);
  cli = cliScripts();
  expectShown(2, cli + "\\user.reg");
  preview.ShowFile(3);
  EXPECT_EQ(preview.Text().find(W("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Active Setup")),
            W("Windows Registry Editor Version 5.00\r\n\r\n").size());
  ClickUntil("dCheckBox_1_1", cbUnchecked);
  EXPECT_EQ(preview.FileNames(),
            std::vector<std::wstring>(everyUser.begin(), everyUser.begin() + 2));
  EXPECT_EQ(preview.ShownFile(), 0) << "the file shown went away";
  preview.ShowFile(0);
  // Saved as shown; closed and opened again, it shows the selection anew.
  std::string reason;
  ASSERT_TRUE(preview.SaveTo(folder_ + "\\saved.reg", reason)) << reason;
  EXPECT_TRUE(ReadFile(folder_ + "\\saved.reg") == ReadFile(cli + "\\hkcu.reg"));
  SendMessageW(preview.Handle(), WM_CLOSE, 0, 0);
  Pump(30);
  EXPECT_FALSE(preview.IsOpen());
  ClickUntil("srCheckBox_1_1", cbGrayed);
  SendMessageW(window_->Find("RzDialogButtons1")->third, BM_CLICK, 0, 0);
  Pump(30);
  ASSERT_TRUE(preview.IsOpen());
  EXPECT_EQ(preview.Text().find(W("СЕРВИСЫ")), std::wstring::npos);
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return IntersectRect(&both, &a, &b) != FALSE;
}

// On each screen the preview opens beside the window or over its pages, but
// never over the search field, the information line or the buttons.
TEST_F(WindowTest, ThePreviewLeavesTheSearchTheInformationLineAndTheButtonsFree) {
  for (const auto& [width, height] : {std::pair{800, 600}, {1024, 768}, {1280, 1024}}) {
    OpenOnScreen(width, height);
    Key(Control("sCheckBox_1_1"), VK_F4);
    ASSERT_TRUE(window_->FilePreview().IsOpen());
    const RECT preview = ScreenRect(window_->FilePreview().Handle());
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT inside;
    EXPECT_TRUE(IntersectRect(&inside, &preview, &work) && EqualRect(&inside, &preview)) << width;
    const win32::NativeControl& bar = *window_->Find("RzDialogButtons1");
    for (HWND control : {bar.third, bar.buddy, bar.second, window_->Search().Field()})
      EXPECT_FALSE(Overlap(preview, ScreenRect(control))) << Narrow(TextOf(control)) << width;
    RECT info = window_->Find("InfoLabel")->bounds;
    MapWindowPoints(window_->Handle(), nullptr, reinterpret_cast<POINT*>(&info), 2);
    EXPECT_FALSE(Overlap(preview, info)) << "information line " << width;
    if (width == 1280) {
      EXPECT_FALSE(Overlap(preview, ScreenRect(window_->Handle()))) << "room beside it";
    }
  }
}

// Its least size keeps the status line and the button whole; closed and
// opened again it has the size and place it had; F4 shows the block of the
// last change, also of one made while it was closed.
TEST_F(WindowTest, ThePreviewKeepsItsPlaceItsStatusLineAndTheLastChange) {
  Open();
  Key(Control("sCheckBox_1_1"), VK_F4);
  HWND preview = window_->FilePreview().Handle();
  MINMAXINFO limits = {};
  SendMessageW(preview, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  SetWindowPos(preview, nullptr, 60, 80, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump(30);
  RECT least = ScreenRect(preview);
  EXPECT_EQ(least.right - least.left, limits.ptMinTrackSize.x);
  EXPECT_EQ(least.bottom - least.top, limits.ptMinTrackSize.y);
  HWND status = GetDlgItem(preview, 3), save = GetDlgItem(preview, 4);
  HDC dc = GetDC(status);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(status, WM_GETFONT, 0, 0)));
  const std::wstring line = TextOf(status);
  SIZE text = {};
  GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &text);
  SelectObject(dc, old);
  ReleaseDC(status, dc);
  RECT shown, client, button = ScreenRect(save);
  GetClientRect(status, &shown);
  GetClientRect(preview, &client);
  MapWindowPoints(nullptr, preview, reinterpret_cast<POINT*>(&button), 2);
  EXPECT_LE(text.cx, shown.right) << Narrow(line);
  EXPECT_TRUE(button.left >= 0 && button.right <= client.right && button.bottom <= client.bottom);

  SetWindowPos(preview, nullptr, 70, 90, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump(30);
  const RECT placed = ScreenRect(preview);
  SendMessageW(preview, WM_CLOSE, 0, 0);
  Pump(30);
  ClickUntil("sCheckBox_1_2", cbChecked);
  Key(Control("sCheckBox_1_2"), VK_F4);
  ASSERT_TRUE(window_->FilePreview().IsOpen());
  preview = window_->FilePreview().Handle();
  const RECT reopened = ScreenRect(preview);
  EXPECT_TRUE(EqualRect(&reopened, &placed));
  DWORD from = 0, to = 0;
  SendMessageW(GetDlgItem(preview, 2), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
               reinterpret_cast<LPARAM>(&to));
  const std::wstring highlighted = window_->FilePreview().Text().substr(from, to - from);
  EXPECT_NE(highlighted.find(L"; " + Caption("sCheckBox_1_2")), std::wstring::npos)
      << Narrow(highlighted);
}

// At 800x600 the preview lies over the window; the pages end at its edge
// and scroll, so that on every page it covers no control, no tab and no
// arrow of a drop-down list. Closed, it gives the room back.
TEST_F(WindowTest, At800x600ThePreviewCoversNoControl) {
  OpenOnScreen(800, 600);
  Key(Control("sCheckBox_1_1"), VK_F4);
  ASSERT_TRUE(window_->FilePreview().IsOpen());
  const RECT preview = ScreenRect(window_->FilePreview().Handle());
  const auto& natives = window_->Natives();
  // What shows of a control: its rectangle within every window around it.
  auto shown = [this](HWND hwnd) {
    RECT r = ScreenRect(hwnd);
    for (HWND up = GetParent(hwnd); up && up != GetParent(window_->Handle()); up = GetParent(up)) {
      RECT client;
      GetClientRect(up, &client);
      MapWindowPoints(up, nullptr, reinterpret_cast<POINT*>(&client), 2);
      IntersectRect(&r, &r, &client);
    }
    return r;
  };
  int checked = 0;
  for (std::size_t page = 0; page < Controls().pages.size(); ++page) {
    for (std::size_t i = 1; i < natives.size(); ++i) {
      const win32::NativeControl& n = natives[i];
      const bool control =
          n.kind == win32::NativeKind::kOption || n.kind == win32::NativeKind::kCombo ||
          n.kind == win32::NativeKind::kSpinner || n.kind == win32::NativeKind::kServicesList ||
          n.kind == win32::NativeKind::kPageControl || n.kind == win32::NativeKind::kMenuButton;
      if (!control || !n.hwnd || !IsWindowVisible(n.hwnd)) continue;
      RECT r = shown(n.hwnd);
      if (layout_.items[i].name == "PageControl1") {
        // Its row of tabs; its pages are the views checked here.
        RECT area = r;
        SendMessageW(n.hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        r.bottom = area.top;
      }
      ++checked;
      EXPECT_FALSE(Overlap(r, preview)) << layout_.items[i].name << " on page " << page;
      // A row of tabs shows whole, with its arrows where the tabs need more room.
      if (n.kind == win32::NativeKind::kPageControl) {
        const RECT whole = ScreenRect(n.hwnd);
        EXPECT_TRUE(r.left == whole.left && r.right == whole.right)
            << layout_.items[i].name << " is cut on page " << page;
      }
      if (n.buddy) {
        EXPECT_FALSE(Overlap(shown(n.buddy), preview)) << layout_.items[i].name;
      }
    }
    Key(GetFocus(), VK_TAB, true);  // the next page
  }
  EXPECT_GT(checked, 200);
  // Closed, the pages have their whole width again.
  const RECT narrow =
      ScreenRect(window_->Natives()[static_cast<std::size_t>(layout_.Named("TabSheet1"))].hwnd);
  SendMessageW(window_->FilePreview().Handle(), WM_CLOSE, 0, 0);
  Pump(30);
  const RECT wide =
      ScreenRect(window_->Natives()[static_cast<std::size_t>(layout_.Named("TabSheet1"))].hwnd);
  EXPECT_GT(wide.right, narrow.right);
}

// Where the preview goes, and where the window goes to make room for it.
TEST(PreviewPlaceTest, BesideTheWindowWhereThereIsRoomElseOverItsPagesOnly) {
  const RECT work = {0, 0, 1024, 738};
  const SIZE wanted = {640, 600}, least = {400, 170};
  const struct {
    const char* what;
    RECT window;
    bool moves;
    RECT movedTo, preview;
  } cases[] = {
      {"room on the right", {0, 0, 600, 600}, true, {0, 0, 600, 600}, {600, 0, 1024, 600}},
      {"room on the left", {424, 0, 1024, 600}, true, {424, 0, 1024, 600}, {0, 0, 424, 600}},
      {"moved aside for the room", {100, 0, 700, 600}, true, {0, 0, 600, 600}, {600, 0, 1024, 600}},
      {"narrow room: over the pages",
       {98, 50, 926, 685},
       true,
       {0, 50, 828, 685},
       {624, 120, 1024, 590}},
      {"maximized", {0, 0, 1024, 738}, false, {0, 0, 1024, 738}, {624, 70, 1024, 540}},
  };
  for (const auto& c : cases) {
    const RECT pages = {c.window.left + 4, c.window.top + 70, c.window.right - 4,
                        c.window.top + 540};
    const win32::PreviewPlace placed =
        win32::PlacePreview(work, c.window, pages, wanted, least, c.moves);
    EXPECT_TRUE(EqualRect(&placed.window, &c.movedTo)) << c.what;
    EXPECT_TRUE(EqualRect(&placed.preview, &c.preview)) << c.what;
  }
}

}  // namespace
}  // namespace kwetro::testing
