// OK and Cancel in the real window: an interactive Apply writes what
// kwetro-cli writes for the same selection; Cancel writes nothing; a deployed
// copy counts down, registers its start-up commands and removes itself, and
// the user stops its countdown by what the first page holds or by a page.
#include "window_harness.h"

namespace kwetro::testing {
namespace {

const wchar_t kRunOnce[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// The start-up commands a deployed copy registers (their text: window_deploy.sh).
void ClearRunOnce() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunOnce, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  for (const wchar_t* name : {L"Reg_0", L"Reg_1", L"Reg_2", L"Reg_3", L"Reg_4", L"Reg-Del"})
    RegDeleteValueW(key, name);
  RegCloseKey(key);
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    Sleep(50);
  }
  return true;
}

class DeployedWindowTest : public WindowTest {
 protected:
  // The program in the deployment folder, with its settings file (and the
  // program file the batch file removes: the window runs in this test
  // program, which starts in another folder).
  void OpenDeployed(const std::string& settings) {
    deployment_ = Win32Platform().ExpandEnvironment("%WINDIR%\\UPDKwetro");
    // A batch file of an earlier run may still stand in the folder: the
    // folder may stay, emptied.
    RemoveFolder(deployment_);
    ASSERT_TRUE(CreateDirectoryW(Widen(deployment_).c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    folders_.push_back(deployment_);
    ClearRunOnce();
    std::string reason;
    ASSERT_TRUE(WriteFileAtomically(deployment_ + "\\Kwetro.exe", "MZ", reason)) << reason;
    ASSERT_TRUE(WriteFileAtomically(deployment_ + "\\Kwetro.ini", settings, reason)) << reason;
    platform_.modulePath = deployment_ + "\\Kwetro.exe";
    Open();
  }
  std::string deployment_;
};

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

TEST_F(DeployedWindowTest, CountsDownAppliesRegistersAndRemovesItself) {
  ASSERT_NO_FATAL_FAILURE(
      OpenDeployed("[Start]\r\nTimer=3\r\n\r\n[sCheckBox_1_9]\r\nChecked=1\r\n"));
  EXPECT_FALSE(IsWindowEnabled(Control("RzURLLabel1")));
  std::vector<std::wstring> shown;
  platform_.onMessages = [&] {
    const std::wstring caption = TextOf(window_->OkButton());
    if (shown.empty() || shown.back() != caption) shown.push_back(caption);
  };
  const DWORD start = GetTickCount();
  while (!ended_ && GetTickCount() - start < 15000) platform_.ProcessMessages(20);
  platform_.onMessages = nullptr;
  ASSERT_EQ(ended_, 1) << "the countdown did not end the program";
  EXPECT_EQ(shown, (std::vector<std::wstring>{W("Применить"), W("Применить 2"), W("Применить 1"),
                                              W("Применить 0"), W("Применить")}));
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(FileExists(deployment_ + "\\hkcu.reg") && FileExists(deployment_ + "\\hklm.reg"));
  EXPECT_FALSE(FileExists(folder_ + "\\hkcu.reg"));
  EXPECT_FALSE(FileExists(deployment_ + "\\Kwetro.ini"));
  EXPECT_EQ(State("sCheckBox_1_9"), cbChecked);
  ClearRunOnce();
  // The batch file, run by the real command interpreter, removes the program
  // file and then itself.
  EXPECT_TRUE(WaitUntil([&] { return !FileExists(deployment_ + "\\Kwetro.exe"); }, 20000));
  EXPECT_TRUE(WaitUntil([&] { return !FileExists(deployment_ + "\\SelfDel.bat"); }, 10000));
}

TEST_F(DeployedWindowTest, OnlyTheFirstPageAndPageChangesStopTheCountdown) {
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
    ASSERT_NO_FATAL_FAILURE(OpenDeployed("[Start]\r\nTimer=900\r\n"));
    Pump(1100);
    ASSERT_NE(TextOf(window_->OkButton()), W("Применить")) << "no countdown";
    c.act();
    EXPECT_EQ(TextOf(window_->OkButton()) == W("Применить"), c.stops) << c.what;
  }
  window_.reset();
  ClearRunOnce();
}

}  // namespace
}  // namespace kwetro::testing
