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
    Key(window_->Search().Field(), VK_RETURN);
    EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 4) << text;
    EXPECT_EQ(GetFocus(), window_->Natives()[static_cast<std::size_t>(autorun)].hwnd) << text;
    EXPECT_TRUE(window_->Find("sLabel5_2")->marked) << text;
    const ComboDecl& combo =
        Controls().combos[static_cast<std::size_t>(ComboIndex("sComboBox_5_1"))];
    EXPECT_EQ(window_->InfoText(), L" " + Widen(combo.explanation));
  }
}

TEST_F(SearchTest, ServicesByKeyNameAndF3ThroughTheMatches) {
  Open();
  Find("srservice");
  EXPECT_EQ(Count(), W("1 из 1"));
  Key(window_->Search().Field(), VK_RETURN);
  EXPECT_EQ(SendMessageW(Control("PageControl1"), TCM_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(SendMessageW(Control("CheckListBox1"), LB_GETCURSEL, 0, 0), ServiceIndex("srservice"));

  Find("Проводник");  // several options on several pages
  const std::size_t matches = window_->Search().Matches().size();
  ASSERT_GT(matches, 2u);
  Key(window_->Search().Field(), VK_RETURN);
  Key(GetFocus(), VK_F3);
  EXPECT_EQ(window_->Search().Current(), 1);
  Key(GetFocus(), VK_F3, false, true);
  Key(GetFocus(), VK_F3, false, true);
  EXPECT_EQ(window_->Search().Current(), static_cast<int>(matches) - 1);

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
// the field; a text that finds nothing takes the mark away and returns to the
// page and sub-page the search started from; Esc clears the search from
// anywhere, also once Enter went to the match.
TEST_F(SearchTest, ShowsWhileTypingReturnsWhenNothingIsFoundAndEscClearsFromAnywhere) {
  Open();
  SelectPage("PageControl2", 2);
  window_->Search().Focus();
  HWND field = window_->Search().Field();
  Find("NoDriveTypeAutoRun");
  EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 4);
  EXPECT_TRUE(window_->Find("sLabel5_2")->marked);
  EXPECT_EQ(window_->InfoText(),
            L" " + Widen(Controls().combos[ComboIndex("sComboBox_5_1")].explanation));
  Find("NoDriveTypeAutoRunX");
  EXPECT_EQ(Count(), W("не найдено"));
  EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 2);
  EXPECT_FALSE(window_->Find("sLabel5_2")->marked);
  EXPECT_EQ(window_->InfoText(), win32::LongHint(window_->Find("SearchEdit")->hint));
  EXPECT_EQ(GetFocus(), field);

  Find("DisableSR");
  EXPECT_EQ(Count(), W("1 из 1"));
  Key(field, VK_RETURN);
  HWND option = Control("sCheckBox_1_9");
  ASSERT_EQ(GetFocus(), option);
  Key(option, VK_ESCAPE);
  EXPECT_EQ(TextOf(field), L"");
  EXPECT_FALSE(window_->Find("sCheckBox_1_9")->marked);
  EXPECT_EQ(GetFocus(), option);
  EXPECT_EQ(SendMessageW(Control("PageControl2"), TCM_GETCURSEL, 0, 0), 0) << "Enter went there";
}

// What the preview shows is what kwetro-cli writes for the same selection.
TEST_F(WindowTest, ThePreviewShowsWhatApplyWouldWriteAfterEveryClick) {
  const std::string cli = CliPath();
  Open();
  Key(Control("sCheckBox_1_1"), VK_F4);
  win32::Preview& preview = window_->FilePreview();
  ASSERT_TRUE(preview.IsOpen());
  ClickUntil("sCheckBox_1_9", cbChecked);
  SelectPage("PageControl1", 4);
  ClickUntil("srCheckBox_1_1", cbUnchecked);
  EXPECT_EQ(preview.ShownFile(), 1) << "the services are in hklm.reg";

  std::string reason;
  ASSERT_TRUE(WriteFileAtomically(folder_ + "\\k.ini", StoreSettings(selection_, ""), reason));
  ASSERT_EQ(RunProgram("\"" + cli + "\" generate --settings \"" + folder_ + "\\k.ini\" --out \"" +
                       folder_ + "\""),
            0u);
  for (int file : {1, 0}) {
    preview.ShowFile(file);
    const std::wstring text = preview.Text();
    std::string bytes(text.size(), '\0');
    WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), &bytes[0],
                        static_cast<int>(bytes.size()), nullptr, nullptr);
    EXPECT_TRUE(bytes == ReadFile(folder_ + (file ? "\\hklm.reg" : "\\hkcu.reg"))) << file;
  }
  // Saved as shown; closed and opened again, it shows the selection anew.
  ASSERT_TRUE(preview.SaveTo(folder_ + "\\saved.reg", reason)) << reason;
  EXPECT_TRUE(ReadFile(folder_ + "\\saved.reg") == ReadFile(folder_ + "\\hkcu.reg"));
  SendMessageW(preview.Handle(), WM_CLOSE, 0, 0);
  Pump(30);
  EXPECT_FALSE(preview.IsOpen());
  ClickUntil("srCheckBox_1_1", cbGrayed);
  SendMessageW(window_->Find("RzDialogButtons1")->third, BM_CLICK, 0, 0);
  Pump(30);
  ASSERT_TRUE(preview.IsOpen());
  EXPECT_EQ(preview.Text().find(W("СЕРВИСЫ")), std::wstring::npos);
}

}  // namespace
}  // namespace kwetro::testing
