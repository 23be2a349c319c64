// OK and Cancel in the real window: an interactive Apply writes what
// kwetro-cli writes for the same selection; Cancel writes nothing; a deployed
// copy counts down on OK, and the user stops it by what the first page holds
// or by a page.
#include "window_harness.h"

namespace kwetro::testing {
namespace {

TEST_F(WindowTest, InteractiveApplyWritesWhatTheCliWritesForTheSameSelection) {
  const std::string cli = CliPath();
  ASSERT_TRUE(FileExists(cli)) << cli;
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
  const std::string ini = folder_ + "\\Kwetro.ini", out = folder_ + "\\cli";
  CreateDirectoryW(Widen(out).c_str(), nullptr);
  ASSERT_EQ(RunProgram("\"" + cli + "\" generate --settings \"" + ini + "\" --out \"" + out + "\""),
            0u);
  ASSERT_EQ(RunProgram("\"" + cli + "\" settings --settings \"" + ini + "\" --out \"" + out +
                       "\\Kwetro.ini\""),
            0u);
  for (const char* file : {"\\hkcu.reg", "\\hklm.reg", "\\Kwetro.ini"})
    EXPECT_TRUE(ReadFile(folder_ + file) == ReadFile(out + file)) << file;
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

TEST_F(WindowTest, CancelEndsTheProgramWithoutWritingAnything) {
  Open();
  ClickUntil("sCheckBox_1_2", cbChecked);
  SendMessageW(window_->CancelButton(), BM_CLICK, 0, 0);
  Pump(20);
  EXPECT_EQ(ended_, 1);
  EXPECT_FALSE(FileExists(folder_ + "\\hkcu.reg") || FileExists(folder_ + "\\Kwetro.ini"));
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
    window_.reset();
    platform_.beeps = 0;
    Deploy(900);
    Open();
    EXPECT_FALSE(IsWindowEnabled(Control("RzURLLabel1")));
    ASSERT_EQ(Countdown().rfind(W("Применить 89"), 0), 0u) << "no countdown";
    c.act();
    EXPECT_EQ(TextOf(window_->OkButton()) == W("Применить"), c.stops) << c.what;
  }
}

}  // namespace
}  // namespace kwetro::testing
