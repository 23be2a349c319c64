// The run control with a scripted platform and window: countdown, Apply in
// both modes, Cancel, the deployed copy's removal and the batch file.
#include "app/run_control.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <map>

#include "app/file_io.h"
#include "catalogue/services_page.h"
#include "options/text_encoding.h"
#include "support/script_lines.h"
#include "support/temp_dir.h"

namespace kwetro {
namespace {

using testing::BuiltInForm;
using testing::TempDir;

// Expands %NAME% from its own table and turns "\" into "/", so that the
// deployment folder's fixed texts name real folders of the test.
class FakePlatform : public Platform {
 public:
  std::map<std::string, std::string> env;
  std::string modulePath;
  std::string currentDirectory;
  std::map<std::string, std::string> shortPaths;
  bool runOnceKeyExists = true;
  bool ntFamily = true;
  std::uint32_t now = 0xFFFFFF00u;  // close to the wrap of the tick count
  std::uint32_t tickStep = 7;
  std::function<void()> onMessages;  // the user acting while messages are handled

  std::vector<std::pair<unsigned, unsigned>> beeps;
  std::vector<std::pair<std::string, std::string>> started;  // folder, file
  std::vector<StartupCommand> startupCommands;
  std::uint32_t startupWrittenAt = 0;
  int messageRounds = 0;
  int trims = 0;

  std::string ExpandEnvironment(const std::string& text) override {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
      const auto it =
          close == std::string::npos ? env.end() : env.find(text.substr(i + 1, close - i - 1));
      if (it != env.end()) {
        out += it->second;
        i = close;
      } else {
        out += text[i] == '\\' ? '/' : text[i];
      }
    }
    return out;
  }
  std::uint32_t TickCount() override { return now += tickStep; }
  void Beep(unsigned hz, unsigned ms) override { beeps.emplace_back(hz, ms); }
  bool StartHiddenBatch(const std::string& folder, const std::string& file) override {
    started.emplace_back(folder, file);
    return true;
  }
  bool WriteStartupCommands(const std::vector<StartupCommand>& commands) override {
    if (!runOnceKeyExists) return false;
    startupCommands = commands;
    startupWrittenAt = now;
    return true;
  }
  bool IsNtFamily() override { return ntFamily; }
  void TrimWorkingSet() override { ++trims; }
  std::string ModulePath() override { return modulePath; }
  std::string CurrentDirectory() override { return currentDirectory; }
  std::string ShortPath(const std::string& path) override {
    const auto it = shortPaths.find(path);
    return it == shortPaths.end() ? path : it->second;
  }
  void ProcessMessages(unsigned) override {
    ++messageRounds;
    if (onMessages) onMessages();
  }
};

class FakeView : public RunControlView {
 public:
  int firstPages = 0, firstOptionFocused = 0, cancelFocused = 0, ended = 0;
  bool linkDisabled = false;
  std::vector<std::string> errors;
  void ShowFirstPages() override { ++firstPages; }
  void FocusFirstOption() override { ++firstOptionFocused; }
  void DisableFolderLink() override { linkDisabled = true; }
  void FormChanged() override {}
  void FocusCancel() override { ++cancelFocused; }
  void EndApplication() override { ++ended; }
  void ShowError(const std::string& message) override { errors.push_back(message); }
};

const std::string kApply = Utf8ToCp1251("Применить");

// A program with its window model, platform and view. Deployed: the program
// lies in WINDIR/UPDKwetro; otherwise in a folder of its own, started from
// another one.
class Program {
 public:
  explicit Program(bool deployed, const std::string& programName = "Kwetro.exe") {
    platform.env["WINDIR"] = dir.File("WINDOWS");
    platform.env["ALLUSERSPROFILE"] = dir.File("All Users");
    folder = deployed ? dir.File("WINDOWS") + "/UPDKwetro/" : dir.File("tools") + "/";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(dir.File("work"));
    platform.modulePath = folder + programName;
    platform.currentDirectory = dir.File("work");
    programPath = platform.modulePath;
  }

  void Settings(const std::string& text) { Put("Kwetro.ini", text); }
  void Put(const std::string& name, const std::string& bytes) {
    std::string reason;
    ASSERT_TRUE(WriteFileAtomically(folder + name, bytes, reason)) << reason;
  }
  bool Has(const std::string& name) const { return FileExists(folder + name); }
  std::string Read(const std::string& path) const {
    std::string bytes, reason;
    EXPECT_TRUE(ReadWholeFile(path, bytes, reason)) << path << ": " << reason;
    return bytes;
  }
  std::string Work(const std::string& name) const { return JoinPath(dir.File("work"), name); }

  // Start-up as the window runs it: creation, then activation.
  void Start() {
    run.FormCreate();
    run.FormActivate();
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) run.CountdownTick();
  }

  TempDir dir;
  std::string folder;
  std::string programPath;
  FakePlatform platform;
  FakeView view;
  Form form = BuiltInForm();
  RunControl run{form, platform, view};
};

std::vector<std::string> Names(const std::vector<StartupCommand>& commands) {
  std::vector<std::string> names;
  for (const auto& c : commands) names.push_back(c.name);
  return names;
}

// ---- run mode -------------------------------------------------------------

TEST(RunMode, DeploymentOnlyInTheExpandedFolderSpelledExactly) {
  Program deployed(true);
  deployed.run.FormCreate();
  EXPECT_TRUE(deployed.run.IsDeploymentMode());
  EXPECT_EQ(deployed.run.ProgramFolder(), deployed.folder);

  Program other(false);
  other.run.FormCreate();
  EXPECT_FALSE(other.run.IsDeploymentMode());

  // The same folder in other letter case is not the deployment folder.
  Program lower(true);
  lower.platform.env["WINDIR"] = lower.dir.File("windows");
  lower.run.FormCreate();
  EXPECT_FALSE(lower.run.IsDeploymentMode());
}

TEST(RunMode, ActivationBeepsShowsFirstPagesAndFocusesTheFirstOption) {
  Program p(false);
  p.Start();
  const std::vector<std::pair<unsigned, unsigned>> tones = {{50, 80}, {60, 80}, {50, 80}};
  EXPECT_EQ(p.platform.beeps, tones);
  EXPECT_EQ(p.view.firstPages, 1);
  EXPECT_EQ(p.view.firstOptionFocused, 1);
  EXPECT_FALSE(p.view.linkDisabled);
  EXPECT_FALSE(p.form.countdownTimerEnabled);
}

TEST(RunMode, DeploymentDisablesTheFolderLinkAndCountsDownUnlessTimerIsZero) {
  Program counting(true);
  counting.Start();
  EXPECT_TRUE(counting.view.linkDisabled);
  EXPECT_TRUE(counting.form.countdownTimerEnabled);
  EXPECT_EQ(counting.run.Countdown(), kDefaultCountdown);

  Program waiting(true);
  waiting.Settings("[Start]\r\nTimer=0\r\n");
  waiting.Start();
  EXPECT_TRUE(waiting.view.linkDisabled);
  EXPECT_FALSE(waiting.form.countdownTimerEnabled);
}

TEST(RunMode, UnreadableSettingsAreShownAndNeverAppliedUnattended) {
  Program p(true);
  std::filesystem::create_directories(p.folder + "Kwetro.ini");  // cannot be read as a file
  p.Start();
  ASSERT_EQ(p.view.errors.size(), 1u);
  EXPECT_NE(p.view.errors[0].find("Kwetro.ini"), std::string::npos) << p.view.errors[0];
  EXPECT_FALSE(p.form.countdownTimerEnabled);
  EXPECT_EQ(p.run.Countdown(), 0);
}

TEST(RunMode, HousekeepingTrimsTheWorkingSetOnTheNtFamilyOnly) {
  Program p(false);
  p.run.HousekeepingTick();
  EXPECT_EQ(p.platform.trims, 1);
  p.platform.ntFamily = false;
  p.run.HousekeepingTick();
  EXPECT_EQ(p.platform.trims, 1);
}

// ---- countdown ------------------------------------------------------------

TEST(Countdown, OkButtonShowsTheTicksLeft) {
  Program p(true);
  p.Settings("[Start]\r\nTimer=100\r\n");
  p.Start();
  p.Ticks(1);
  EXPECT_EQ(p.form.captionOk, kApply + " 99");
  p.Ticks(40);
  EXPECT_EQ(p.form.captionOk, kApply + " 59");
  EXPECT_EQ(p.run.Countdown(), 59);
}

TEST(Countdown, DefaultCountAppliesOnTheThirtiethTickAndRemovesTheCopy) {
  Program p(true);
  p.Settings("[Start]\r\n");  // no Timer: waits for the user...
  p.Start();
  EXPECT_FALSE(p.form.countdownTimerEnabled);

  Program q(true);  // ...and without a settings file the default 30 counts down
  q.Start();
  q.Ticks(1);
  EXPECT_EQ(q.form.captionOk, kApply + " 29");
  q.Ticks(28);
  EXPECT_EQ(q.view.ended, 0);
  EXPECT_FALSE(q.Has("hkcu.reg"));
  q.Ticks(1);
  EXPECT_TRUE(q.Has("hkcu.reg"));
  EXPECT_TRUE(q.Has("hklm.reg"));
  EXPECT_EQ(q.platform.startupCommands.size(), 4u);
  // Without Kwetro.ini nothing is removed, but the program ends.
  EXPECT_TRUE(q.platform.started.empty());
  EXPECT_EQ(q.view.ended, 1);
}

TEST(Countdown, PausesHalfASecondWithMessagesAcrossTheTickWrap) {
  Program p(true);
  p.Settings("[Start]\r\nTimer=1\r\n");
  p.Start();
  const std::uint32_t before = p.platform.now;
  p.Ticks(1);
  EXPECT_GE(p.platform.messageRounds, 1);
  EXPECT_GE(static_cast<std::uint32_t>(p.platform.startupWrittenAt - before), kFinalPauseMs);
  EXPECT_LT(p.platform.startupWrittenAt, before);  // the tick count wrapped meanwhile
  EXPECT_EQ(p.view.ended, 1);
}

TEST(Countdown, UserWhoActsDuringThePauseIsNotOverruled) {
  Program p(true);
  p.Settings("[Start]\r\nTimer=1\r\n");
  p.Start();
  p.platform.onMessages = [&p] { p.form.Click(OptionIndex("sCheckBox_1_1")); };
  p.Ticks(1);
  EXPECT_FALSE(p.Has("hkcu.reg"));
  EXPECT_TRUE(p.Has("Kwetro.ini"));
  EXPECT_EQ(p.view.ended, 0);
  EXPECT_EQ(p.form.captionOk, kApply);

  Program q(true);
  q.Settings("[Start]\r\nTimer=1\r\n");
  q.Start();
  q.platform.onMessages = [&q] {
    q.platform.onMessages = nullptr;
    q.run.Cancel();
  };
  q.Ticks(1);
  EXPECT_FALSE(q.Has("hkcu.reg"));  // cancelled: nothing applied after all
  EXPECT_EQ(q.view.ended, 1);
  EXPECT_EQ(q.platform.started.size(), 1u);
}

TEST(Countdown, NegativeCountNeverAppliesAndNeverOverflows) {
  Program p(true);
  p.Settings("[Start]\r\nTimer=-2147483648\r\n");
  p.Start();
  p.Ticks(3);
  EXPECT_EQ(p.run.Countdown(), INT_MIN);
  EXPECT_EQ(p.form.captionOk, kApply + " -2147483648");
  EXPECT_EQ(p.view.ended, 0);

  Program q(true);
  q.Settings("[Start]\r\nTimer=-1\r\n");
  q.Start();
  q.Ticks(2);
  EXPECT_EQ(q.form.captionOk, kApply + " -3");
  EXPECT_FALSE(q.Has("hkcu.reg"));
}

TEST(Countdown, StoppedByTheFirstElevenOptionsAndSystemPagesOnly) {
  Program p(true);
  p.Start();
  p.Ticks(2);
  p.form.Click(OptionIndex("pCheckBox_1_1"));
  EXPECT_TRUE(p.form.countdownTimerEnabled);
  p.run.SystemSubPageChanged();
  EXPECT_FALSE(p.form.countdownTimerEnabled);
  EXPECT_EQ(p.form.captionOk, kApply);
  p.Ticks(40);  // a late tick changes nothing
  EXPECT_EQ(p.run.Countdown(), 28);

  Program q(true);
  q.Start();
  q.run.MainPageChanged(1);
  EXPECT_FALSE(q.form.countdownTimerEnabled);
}

TEST(Countdown, FailedApplyKeepsTheDeployedCopyAndShowsTheFile) {
  Program p(true);
  p.Settings("[Start]\r\nTimer=1\r\n");
  std::filesystem::create_directories(p.folder + "hklm.reg");
  p.Start();
  p.Ticks(1);
  ASSERT_EQ(p.view.errors.size(), 1u);
  EXPECT_NE(p.view.errors[0].find(p.folder + "hklm.reg"), std::string::npos) << p.view.errors[0];
  EXPECT_TRUE(p.platform.startupCommands.empty());
  EXPECT_TRUE(p.Has("Kwetro.ini"));
  EXPECT_TRUE(p.platform.started.empty());
  EXPECT_EQ(p.view.ended, 0);
}

// ---- Apply ----------------------------------------------------------------

TEST(Apply, InteractiveSavesSettingsThenBothScriptsIntoTheCurrentFolder) {
  Program p(false);
  p.Start();
  p.form.Click(OptionIndex("sCheckBox_1_9"));
  ASSERT_TRUE(p.run.Apply());
  EXPECT_TRUE(p.Has("Kwetro.ini"));
  EXPECT_NE(p.Read(p.folder + "Kwetro.ini").find("[Start]\r\nTimer=30\r\n"), std::string::npos);
  EXPECT_EQ(p.Read(p.Work("hkcu.reg")), BuildHkcuScript(p.form).Bytes());
  EXPECT_EQ(p.Read(p.Work("hklm.reg")), BuildHklmScript(p.form).Bytes());
  EXPECT_FALSE(p.Has("hkcu.reg"));
  EXPECT_GE(p.platform.messageRounds, 3);  // the window repaints between the steps
  EXPECT_TRUE(p.platform.startupCommands.empty());
  EXPECT_EQ(p.view.cancelFocused, 1);
  EXPECT_EQ(p.view.ended, 0);
}

TEST(Apply, SettingsFileThatCannotBeWrittenStopsBeforeAnyScript) {
  Program p(false);
  p.Start();
  std::filesystem::create_directories(p.folder + "Kwetro.ini");
  EXPECT_FALSE(p.run.Apply());
  ASSERT_EQ(p.view.errors.size(), 1u);
  EXPECT_NE(p.view.errors[0].find("Kwetro.ini"), std::string::npos) << p.view.errors[0];
  EXPECT_FALSE(FileExists(p.Work("hkcu.reg")));
  EXPECT_FALSE(FileExists(p.Work("hklm.reg")));
  EXPECT_EQ(p.view.cancelFocused, 0);
}

TEST(Apply, ScriptThatCannotBeWrittenNamesItAndLeavesTheNextOneAlone) {
  Program p(false);
  p.Start();
  std::filesystem::create_directories(p.Work("hkcu.reg"));
  std::string reason;
  ASSERT_TRUE(WriteFileAtomically(p.Work("hklm.reg"), "earlier", reason));
  EXPECT_FALSE(p.run.Apply());
  ASSERT_EQ(p.view.errors.size(), 1u);
  EXPECT_NE(p.view.errors[0].find(p.Work("hkcu.reg")), std::string::npos) << p.view.errors[0];
  EXPECT_EQ(p.Read(p.Work("hklm.reg")), "earlier");
}

TEST(Apply, SecondOkWhileApplyHandlesMessagesIsIgnored) {
  Program p(false);
  p.Start();
  int nested = 0;
  p.platform.onMessages = [&] {
    if (p.run.Apply()) ++nested;
  };
  EXPECT_TRUE(p.run.Apply());
  EXPECT_EQ(nested, 0);
}

TEST(Apply, DeploymentWritesIntoTheProgramFolderAndKeepsTheSettingsFile) {
  Program p(true);
  const std::string settings = "[Start]\r\nTimer=0\r\n\r\n[sCheckBox_1_9]\r\nChecked=1\r\n";
  p.Settings(settings);
  p.Start();
  ASSERT_TRUE(p.run.Apply());
  EXPECT_TRUE(p.Has("hkcu.reg"));
  EXPECT_TRUE(p.Has("hklm.reg"));
  EXPECT_FALSE(FileExists(p.Work("hkcu.reg")));  // not where it was started from
  EXPECT_EQ(p.Read(p.folder + "Kwetro.ini"), settings);
  EXPECT_EQ(p.view.cancelFocused, 1);
  EXPECT_EQ(p.view.ended, 0);  // Apply alone never ends the program
}

TEST(Apply, StartupCommandsInOrderWithOptionalFilesOnlyWhenPresent) {
  Program p(true);
  p.Start();
  ASSERT_TRUE(p.run.Apply());
  const std::string windir = p.dir.File("WINDOWS");
  const std::vector<std::string> plain = {"Reg_0", "Reg_1", "Reg_2", "Reg-Del"};
  EXPECT_EQ(Names(p.platform.startupCommands), plain);
  EXPECT_EQ(p.platform.startupCommands[0].data,
            "REGEDIT /E \"" + p.dir.File("All Users") + "/RegAfter.reg\"");
  EXPECT_EQ(p.platform.startupCommands[1].data, "REGEDIT /S \"" + windir + "/UPDKwetro/hkcu.reg\"");
  EXPECT_EQ(p.platform.startupCommands[2].data, "REGEDIT /S \"" + windir + "/UPDKwetro/hklm.reg\"");
  EXPECT_EQ(p.platform.startupCommands[3].data, "CMD /C RD /S /Q %WINDIR%\\UPDKwetro");

  p.Put("Custom.reg", "REGEDIT4\r\n");
  p.Put("Cleanup.cmd", "@echo off\r\n");
  ASSERT_TRUE(p.run.Apply());
  const std::vector<std::string> all = {"Reg_0", "Reg_1", "Reg_2", "Reg_3", "Reg_4", "Reg-Del"};
  EXPECT_EQ(Names(p.platform.startupCommands), all);
  EXPECT_EQ(p.platform.startupCommands[3].data,
            "REGEDIT /S \"" + windir + "/UPDKwetro/Custom.reg\"");
  EXPECT_EQ(p.platform.startupCommands[4].data, "\"" + windir + "/UPDKwetro/Cleanup.cmd\"");
}

TEST(Apply, MissingRunOnceKeyIsSilentAndTheScriptsStay) {
  Program p(true);
  p.platform.runOnceKeyExists = false;
  p.Start();
  EXPECT_TRUE(p.run.Apply());
  EXPECT_TRUE(p.view.errors.empty());
  EXPECT_TRUE(p.Has("hklm.reg"));
}

// ---- Cancel and removal ---------------------------------------------------

TEST(Cancel, InteractiveEndsWithoutWritingAnything) {
  Program p(false);
  p.Start();
  p.run.Cancel();
  EXPECT_EQ(p.view.ended, 1);
  EXPECT_TRUE(std::filesystem::is_empty(p.folder));
  EXPECT_TRUE(std::filesystem::is_empty(p.dir.File("work")));
  EXPECT_TRUE(p.platform.started.empty());
}

TEST(Cancel, DeployedCopyDeletesItsSettingsAndStartsTheBatchBesideIt) {
  Program p(true);
  p.Settings("[Start]\r\nTimer=0\r\n");
  p.Start();
  p.run.Cancel();
  EXPECT_FALSE(p.Has("Kwetro.ini"));
  ASSERT_TRUE(p.Has("SelfDel.bat"));
  EXPECT_EQ(p.Read(p.folder + "SelfDel.bat"), SelfDeleteBatch(p.programPath));
  ASSERT_EQ(p.platform.started.size(), 1u);
  EXPECT_EQ(p.platform.started[0].first, p.folder);
  EXPECT_EQ(p.platform.started[0].second, "SelfDel.bat");
  EXPECT_EQ(p.view.ended, 1);
  EXPECT_FALSE(p.Has("hkcu.reg"));
}

TEST(Cancel, DeployedCopyWithoutSettingsFileRemovesNothing) {
  Program p(true);
  p.Start();
  p.run.Cancel();
  EXPECT_FALSE(p.Has("SelfDel.bat"));
  EXPECT_TRUE(p.platform.started.empty());
  EXPECT_EQ(p.view.ended, 1);
}

TEST(Cancel, BatchFileThatCannotBeWrittenIsShownAndTheProgramStays) {
  Program p(true);
  p.Settings("[Start]\r\nTimer=0\r\n");
  std::filesystem::create_directories(p.folder + "SelfDel.bat");
  p.Start();
  p.run.Cancel();
  ASSERT_EQ(p.view.errors.size(), 1u);
  EXPECT_NE(p.view.errors[0].find("SelfDel.bat"), std::string::npos);
  EXPECT_TRUE(p.platform.started.empty());
  EXPECT_EQ(p.view.ended, 0);
}

// ---- the batch file -------------------------------------------------------

TEST(SelfDeleteBatch, RetriesAboutOnceASecondForABoundedTimeThenDeletesItself) {
  const std::string batch = SelfDeleteBatch("C:\\WINDOWS\\UPDKwetro\\Kwetro.exe");
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = batch.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(batch.substr(start, end - start));
  EXPECT_EQ(start, batch.size()) << "every line ends with CR LF";
  ASSERT_GE(lines.size(), 5u);
  const auto has = [&lines](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has(":try"));
  EXPECT_TRUE(has("del \"C:\\WINDOWS\\UPDKwetro\\Kwetro.exe\" >nul 2>nul"));
  EXPECT_TRUE(has("if not exist \"C:\\WINDOWS\\UPDKwetro\\Kwetro.exe\" goto done"));
  EXPECT_TRUE(has("ping -n 2 127.0.0.1 >nul"));
  EXPECT_TRUE(has("if %attempts% geq 30 goto done"));
  EXPECT_TRUE(has("goto try"));
  EXPECT_EQ(lines.back(), "del \"SelfDel.bat\"");
}

TEST(SelfDeleteBatch, RussianPathInCodePage866AndPercentSignsDoubled) {
  const std::string oem = OemBatchPath("C:\\Программы\\Ёлка 100%\\Кветро.exe");
  // "П" is 0xCF in Windows-1251 and 0x8F in code page 866; "Ё" 0xA8 -> 0xF0;
  // "р" 0xF0 -> 0xE0.
  EXPECT_EQ(static_cast<unsigned char>(oem[3]), 0x8F);
  EXPECT_EQ(static_cast<unsigned char>(oem[13]), 0xF0);
  EXPECT_EQ(static_cast<unsigned char>(oem[4]), 0xE0);
  EXPECT_EQ(oem, ToOemCyrillic(Utf8ToCp1251("C:\\Программы\\Ёлка 100%\\Кветро.exe")));
  EXPECT_NE(SelfDeleteBatch(oem).find("100%%\\"), std::string::npos);
}

TEST(SelfDeleteBatch, PathThatCodePage866CannotSpellFallsBackToItsShortForm) {
  EXPECT_EQ(OemBatchPath("C:\\Tools №1\\Kwetro.exe"), "");
  EXPECT_EQ(OemBatchPath("C:\\Ωmega\\Kwetro.exe"), "");

  Program p(true, "Kwetro №2.exe");
  p.platform.shortPaths[p.programPath] = p.folder + "KWETRO~1.EXE";
  p.Settings("[Start]\r\nTimer=0\r\n");
  p.Start();
  p.run.Cancel();
  EXPECT_NE(p.Read(p.folder + "SelfDel.bat").find("KWETRO~1.EXE"), std::string::npos);
}

// ---- pages and the services list ------------------------------------------

TEST(ServicesPage, SystemRestoreSwitchedOffTurnsItsServiceOffOnEveryEntry) {
  Program p(false);
  p.Start();
  auto& states = p.form.services.states;
  states[49] = cbChecked;
  p.form.SetState(OptionIndex("sCheckBox_1_9"), cbGrayed);
  p.run.MainPageChanged(4);
  EXPECT_EQ(states[49], cbChecked);
  p.form.SetState(OptionIndex("sCheckBox_1_9"), cbUnchecked);
  p.run.MainPageChanged(4);
  EXPECT_EQ(states[49], cbChecked);

  p.form.SetState(OptionIndex("sCheckBox_1_9"), cbChecked);
  p.form.services.itemIndex = 12;
  p.run.MainPageChanged(4);
  EXPECT_EQ(states[49], cbUnchecked);
  EXPECT_EQ(p.form.services.itemIndex, 0);
  states[49] = cbGrayed;
  p.run.MainPageChanged(2);  // only the services page does it
  EXPECT_EQ(states[49], cbGrayed);
}

TEST(ServicesPage, ItemClicksCycleLikeOptionsOnlyWhileTheListIsEnabled) {
  Program p(false);
  p.Start();
  p.form.services.enabled = true;
  p.form.services.states[3] = cbUnchecked;
  p.run.ServiceItemClicked(3);
  EXPECT_EQ(p.form.services.states[3], cbGrayed);
  p.run.ServiceItemClicked(3);
  EXPECT_EQ(p.form.services.states[3], cbChecked);
  p.run.ServiceItemClicked(3);
  EXPECT_EQ(p.form.services.states[3], cbUnchecked);

  p.form.services.enabled = false;
  p.run.ServiceItemClicked(3);
  EXPECT_EQ(p.form.services.states[3], cbUnchecked);
  p.form.services.enabled = true;
  p.run.ServiceItemClicked(kServiceCount);  // past the end: nothing
}

}  // namespace
}  // namespace kwetro
