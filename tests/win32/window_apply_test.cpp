// OK and Cancel in the real window: an interactive Apply writes what
// kwetro-cli writes for the same selection; Cancel writes nothing; a deployed
// copy counts down on OK, and the user stops it by what the first page holds
// or by a page.
#include "window_harness.h"

namespace kwetro::testing {
namespace {

TEST_F(WindowTest, InteractiveApplyWritesWhatTheCliWritesForTheSameSelection) {
  Open();
  ClickUntil("sCheckBox_1_9", cbChecked);
  ClickUntil("sCheckBox_1_4", cbGrayed);
  SelectPage("PageControl1", 1);
  ClickUntil("pCheckBox_4_1", cbChecked);
  SelectPage("PageControl1", 4);
  ClickUntil("srCheckBox_1_1", cbUnchecked);
  HWND ok = window_->OkButton();
  RECT rc;
  GetClientRect(ok, &rc);
  ClickAt(ok, rc.right / 2, rc.bottom / 2);

  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(GetFocus(), window_->CancelButton());
  EXPECT_EQ(ended_, 0);
  // The settings file written holds the selection: its scripts are the window's.
  const std::string ini = folder_ + "\\Kwetro.ini";
  ExpectScriptsAsTheCliWrites(ini);
  // The information line says what was written, where, and how much; moving
  // the mouse over the button pressed leaves it there.
  const std::wstring said = window_->InfoText();
  EXPECT_EQ(said.rfind(W(" Записано в ") + Widen(folder_) + L"\\: Kwetro.ini (" +
                           std::to_wstring(ReadFile(ini).size()) + W(" байт"),
                       0),
            0u)
      << said;
  EXPECT_NE(said.find(L"hklm.reg (" + std::to_wstring(ReadFile(folder_ + "\\hklm.reg").size())),
            std::wstring::npos);
  MouseOver(ok, rc.right / 2 + 1, rc.bottom / 2);
  EXPECT_EQ(window_->InfoText(), said);
}

// "(не менять)", the first row of a drop-down list, is the list without an
// item: stored as index -1 and shown so again at the next start.
TEST_F(WindowTest, NoItemOfADropDownListRoundTripsThroughTheSettingsFile) {
  Open();
  SelectPage("PageControl2", 3);
  const auto combo = static_cast<std::size_t>(ComboIndex("sComboBox_4_1"));
  ASSERT_GE(selection_.combos[combo], 0);
  SetFocus(Control("sComboBox_4_1"));
  Press(VK_HOME);
  EXPECT_EQ(selection_.combos[combo], -1);
  SendMessageW(window_->OkButton(), BM_CLICK, 0, 0);
  Pump(20);
  const std::string ini = ReadFile(folder_ + "\\Kwetro.ini");
  EXPECT_NE(ini.find("Name=sComboBox_4_1\r\nIndex=-1\r\n"), std::string::npos);
  Reopen();
  EXPECT_EQ(selection_.combos[combo], -1);
  SelectPage("PageControl2", 3);
  EXPECT_EQ(SendMessageW(Control("sComboBox_4_1"), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(TextOf(Control("sComboBox_4_1")), W("(не менять)"));
}

TEST_F(WindowTest, ApplyThatCannotWriteShowsTheFileAndTheReason) {
  Open();
  CreateDirectoryW(Widen(folder_ + "\\hklm.reg").c_str(), nullptr);
  SendMessageW(window_->OkButton(), BM_CLICK, 0, 0);
  Pump(20);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_NE(errors_[0].find(Widen(folder_ + "\\hklm.reg")), std::wstring::npos) << errors_[0];
  EXPECT_TRUE(FileExists(folder_ + "\\hkcu.reg"));
}

// A deployed copy: the program in the deployment folder with its settings
// file. Its countdown to the end, Apply and removal run in window_deploy.sh.
TEST_F(WindowTest, DeployedCountdownShowsOnOkAndOnlyTheFirstPageAndPagesStopIt) {
  const struct {
    const char* what;
    std::function<void()> act;
    bool stops;
  } cases[] = {
      {"a main page", [this] { SelectPage("PageControl1", 1); }, true},
      {"a system sub-page", [this] { SelectPage("PageControl2", 2); }, true},
      {"an option of the first page", [this] { Click("sCheckBox_1_11"); }, true},
      {"an option elsewhere", [this] { Click("RzCheckBox1"); }, false},
  };
  for (const auto& c : cases) {
    Deploy(900);
    Reopen();
    EXPECT_FALSE(IsWindowEnabled(Control("RzURLLabel1")));
    // Alt+П presses it, also while it counts.
    ASSERT_EQ(Countdown().rfind(W("&Применить 89"), 0), 0u) << "no countdown";
    c.act();
    EXPECT_EQ(TextOf(window_->OkButton()) == W("&Применить"), c.stops) << c.what;
  }
}

}  // namespace
}  // namespace kwetro::testing
