// The run control with a scripted platform and window: start in both modes,
// the countdown, Apply, Cancel, the deployed copy's removal, the services page.
#include "app/run_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "app/file_io.h"
#include "app/script_files.h"
#include "catalogue/generators.h"
#include "support/checks.h"
#include "support/files.h"

namespace kwetro::testing {
namespace {

const std::string kApply = "Применить";

// The platform and the window, scripted. %NAME% expands from env, and the
// "\" of the program's fixed texts turns into "/", so that the deployment
// folder names a folder of the test.
struct Fake : Platform, RunControlView {
  std::map<std::string, std::string> env, shortPaths, machine;
  std::string modulePath, currentDirectory;
  bool runOnceKey = true, ntFamily = true, linkDisabled = false;
  std::uint32_t now = 0xFFFFFF00u, commandsAt = 0;  // near the wrap of the tick count
  std::function<void()> onMessages;                 // the user acting meanwhile
  std::vector<std::pair<unsigned, unsigned>> beeps;
  std::vector<std::string> started, errors, reports;
  std::vector<StartupCommand> commands;
  int messageRounds = 0, trims = 0, firstShown = 0, cancelFocused = 0, ended = 0;

  std::string ExpandEnvironment(const std::string& text) override {
    std::string out = text;
    std::replace(out.begin(), out.end(), '\\', '/');
    for (const auto& [name, value] : env)
      for (std::size_t at; (at = out.find('%' + name + '%')) != std::string::npos;)
        out.replace(at, name.size() + 2, value);
    return out;
  }
  std::uint32_t TickCount() override { return now += 7; }
  void Beep(unsigned hz, unsigned ms) override { beeps.emplace_back(hz, ms); }
  bool StartHiddenBatch(const std::string& dir, const std::string& file) override {
    return started.push_back(dir + file), true;
  }
  bool WriteStartupCommands(const std::vector<StartupCommand>& c) override {
    if (runOnceKey) commands = c, commandsAt = now;
    return runOnceKey;
  }
  std::string MachineString(const std::string& key, const std::string& name) override {
    return machine[key + "|" + name];
  }
  bool IsNtFamily() override { return ntFamily; }
  void TrimWorkingSet() override { ++trims; }
  std::string ModulePath() override { return modulePath; }
  std::string CurrentDirectory() override { return currentDirectory; }
  std::string ShortPath(const std::string& p) override {
    return shortPaths.count(p) ? shortPaths[p] : p;
  }
  void ProcessMessages(unsigned) override {
    ++messageRounds;
    if (onMessages) onMessages();
  }
  void ShowFirstPages() override { ++firstShown; }
  void FocusFirstOption() override { ++firstShown; }
  void DisableFolderLink() override { linkDisabled = true; }
  void SelectionChanged() override {}
  void FocusCancel() override { ++cancelFocused; }
  void ShowApplied(const std::string& report) override { reports.push_back(report); }
  void EndApplication() override { ++ended; }
  void ShowError(const std::string& message) override { errors.push_back(message); }
};

// A program in WINDIR/UPDKwetro (deployed) or in a folder of its own, started
// from the folder "work"; its settings file when given.
struct Program {
  explicit Program(bool deployed, const char* settings = nullptr,
                   const std::string& name = "Kwetro.exe") {
    fake.env = {{"WINDIR", dir.File("WINDOWS")}, {"ALLUSERSPROFILE", dir.File("All Users")}};
    folder = deployed ? dir.File("WINDOWS") + "/UPDKwetro/" : dir.File("tools") + "/";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(work);
    fake.modulePath = folder + name;
    fake.currentDirectory = work;
    if (settings) WriteBytes(folder + "Kwetro.ini", settings);
  }
  void Start() { run.FormCreate(), run.FormActivate(); }
  void Ticks(int n) {
    while (n-- > 0) run.CountdownTick();
  }
  bool Has(const std::string& name) const { return FileExists(folder + name); }

  TempDir dir;
  std::string folder, work = dir.File("work") + "/";
  Fake fake;
  Selection selection;
  RunControl run{selection, fake, fake, kApply};
};

// The settings file of a row: none for "-".
const char* Settings(const std::string& field) { return field == "-" ? nullptr : field.c_str(); }

TEST(RunMode, StartInEachModeAndWithEachSettingsFile) {
  const auto rows = ReadTable("tests/app/run_starts.txt");
  EXPECT_EQ(rows.size(), 7u);
  for (const auto& row : rows) {
    const bool folder = row.at(2) == "/";
    Program p(row.at(0) == "1", folder ? nullptr : Settings(row[2]));
    if (folder) std::filesystem::create_directory(p.folder + "Kwetro.ini");
    p.fake.env["WINDIR"] = p.dir.File(row.at(1));
    p.Start();
    const bool deployed = row[0] == "1" && row[1] == "WINDOWS";
    EXPECT_EQ(p.run.IsDeploymentMode(), deployed);
    EXPECT_EQ(p.run.ScriptFolder(), deployed ? p.folder : p.work);
    EXPECT_EQ(p.fake.beeps, (decltype(p.fake.beeps){{50, 80}, {60, 80}, {50, 80}}));
    EXPECT_EQ(p.fake.firstShown, 2);
    EXPECT_EQ(p.fake.linkDisabled, deployed);
    EXPECT_EQ(p.run.CountdownRunning(), row.at(3) == "1") << row[1] << row[2];
    EXPECT_EQ(p.run.Countdown(), std::stoi(row.at(4)));
    // An unreadable settings file is shown, and a deployment then waits for the user.
    ASSERT_EQ(p.fake.errors.size(), folder ? 1u : 0u);
    for (const std::string& error : p.fake.errors)
      EXPECT_EQ(
          error.rfind("Не удалось прочитать файл настроек\n" + p.folder + "Kwetro.ini\n\n", 0), 0u);
  }
  Program p(false);
  p.run.HousekeepingTick();
  p.fake.ntFamily = false;
  p.run.HousekeepingTick();
  EXPECT_EQ(p.fake.trims, 1);
}

TEST(Countdown, TicksOnTheOkButtonAndAppliesAtZeroAfterAPause) {
  const auto rows = ReadTable("tests/app/run_countdowns.txt");
  EXPECT_EQ(rows.size(), 7u);
  for (const auto& row : rows) {
    const char* settings = Settings(row.at(0));
    Program p(true, settings);
    p.Start();
    const std::uint32_t before = p.fake.now;
    p.Ticks(std::stoi(row.at(1)));
    const bool applied = row.at(3) == "1";
    EXPECT_EQ(p.run.OkCaption(), kApply + row.at(2)) << row[1];
    EXPECT_EQ(p.Has("hklm.reg"), applied) << row[1];
    EXPECT_EQ(p.fake.commands.size(), applied ? 4u : 0u);
    EXPECT_EQ(p.fake.ended, applied ? 1 : 0);
    if (!applied) continue;
    // Half a second with messages between the last tick and Apply, also
    // across the wrap of the tick count.
    EXPECT_GE(p.fake.messageRounds, 1);
    EXPECT_GE(static_cast<std::uint32_t>(p.fake.commandsAt - before), kFinalPauseMs);
    EXPECT_LT(p.fake.commandsAt, before);
    // Only a copy with Kwetro.ini beside it removes itself.
    EXPECT_EQ(p.fake.started.size(), settings ? 1u : 0u);
    EXPECT_EQ(p.Has("Kwetro.ini"), false);
  }
}

TEST(Countdown, StoppedByFirstPageOptionsPageChangesAndCancelAlsoInTheFinalPause) {
  const struct {
    const char* what;
    std::function<void(RunControl&)> act;
    bool stops, ends;
  } cases[] = {
      {"pCheckBox_1_1", [](RunControl& r) { r.OptionClicked(OptionIndex("pCheckBox_1_1")); }, 0, 0},
      {"sCheckBox_2_1", [](RunControl& r) { r.OptionClicked(OptionIndex("sCheckBox_2_1")); }, 0, 0},
      {"sCheckBox_1_11", [](RunControl& r) { r.OptionClicked(OptionIndex("sCheckBox_1_11")); }, 1,
       0},
      {"system page", [](RunControl& r) { r.SystemSubPageChanged(); }, 1, 0},
      {"main page", [](RunControl& r) { r.MainPageChanged(1); }, 1, 0},
      {"cancel", [](RunControl& r) { r.Cancel(); }, 1, 1},
  };
  for (const auto& c : cases)
    for (bool inPause : {false, true}) {
      Program p(true, "[Start]\r\nTimer=3\r\n");
      p.Start();
      p.Ticks(2);
      if (inPause) {
        p.fake.onMessages = [&] { p.fake.onMessages = nullptr, c.act(p.run); };
      } else {
        c.act(p.run);
        EXPECT_EQ(p.run.OkCaption(), c.stops ? kApply : kApply + " 1") << c.what;
      }
      p.Ticks(5);  // a tick after a stop changes nothing
      EXPECT_EQ(p.run.Countdown(), c.stops && !inPause ? 1 : 0) << c.what << inPause;
      EXPECT_EQ(p.Has("hklm.reg"), !c.stops) << c.what << inPause;
      EXPECT_EQ(p.fake.ended, !c.stops || c.ends ? 1 : 0) << c.what << inPause;
    }
}

// The files' bytes, the focus and the report: tests/win32/window_apply_test.cpp.
TEST(Apply, InteractiveWritesTheSettingsThenBothScriptsWhereItWasStarted) {
  Program p(false);
  p.Start();
  p.run.OptionClicked(OptionIndex("sCheckBox_1_9"));
  int nested = 0;
  p.fake.onMessages = [&] { nested += p.run.Apply(); };  // OK pressed again meanwhile
  ASSERT_TRUE(p.run.Apply());
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(p.dir.Listing("tools") + "|" + p.dir.Listing("work"), "Kwetro.ini|hkcu.reg hklm.reg");
  EXPECT_GE(p.fake.messageRounds, 3);  // the window repaints between the steps
  EXPECT_TRUE(p.fake.commands.empty());
}

TEST(Apply, SaysWhatItWroteWhereAndHowMuch) {
  const auto rows = ReadTable("tests/app/apply_reports.txt");
  EXPECT_EQ(rows.size(), 4u);
  for (const auto& row : rows) {
    std::vector<WrittenFile> files;
    std::vector<StartupCommand> commands;
    std::istringstream words(row.at(0) + " | " + row.at(1));
    for (std::string word; words >> word && word != "|";)
      files.push_back(
          {word.substr(0, word.find('=')),
           static_cast<std::size_t>(std::stoull(word.substr(word.find('=') + 1)))});
    for (std::string word; words >> word;) commands.push_back({word, ""});
    EXPECT_EQ(ApplyReport(files, row[1] == "-" ? nullptr : &commands, row.at(2) == "1"), row.at(3));
  }
}

// The commands' text, Custom.reg and Cleanup.cmd, and nothing for every user
// unless the selection says so: tests/wine/window_deploy.sh.
TEST(Apply, DeploymentWritesBesideTheProgramAndTheStartupCommands) {
  const char* settings = "[Start]\r\nTimer=0\r\n\r\n[sCheckBox_1_9]\r\nChecked=1\r\n";
  Program p(true, settings);
  p.Start();
  const auto names = [&p] {
    std::string all;
    for (const StartupCommand& c : p.fake.commands) all += c.name + " ";
    return all;
  };
  ASSERT_TRUE(p.run.Apply());
  EXPECT_EQ(names(), "Reg_0 Reg_1 Reg_2 Reg-Del ");
  EXPECT_EQ(p.dir.Listing("WINDOWS/UPDKwetro") + "|" + p.dir.Listing("work"),
            "Kwetro.ini hkcu.reg hklm.reg|");
  EXPECT_EQ(ReadBytes(p.folder + "Kwetro.ini"), settings);
  p.fake.runOnceKey = false;  // a missing RunOnce key is no error, but it is told
  EXPECT_TRUE(p.run.Apply());
  EXPECT_TRUE(p.fake.errors.empty());
  EXPECT_NE(p.fake.reports.back().find("не записаны"), std::string::npos);
  EXPECT_EQ(p.fake.ended, 0);  // Apply alone never ends the program
}

// For every user, a deployment also keeps its files and a copy of the program
// where the removal of its folder does not reach, and registers them after
// every other command (their text and the copy's bytes: window_deploy.sh);
// an interactive Apply writes the files beside the scripts.
TEST(Apply, ForEveryUserTheUserPartIsKeptAndRegisteredLast) {
  const char* settings = "[Start]\r\nTimer=0\r\n\r\n[dCheckBox_1_1]\r\nChecked=1\r\n";
  // Under a name of its own, with its settings file of that name.
  Program p(true, settings, "Setup.exe");
  WriteBytes(p.folder + "Setup.ini", settings);
  WriteBytes(p.fake.modulePath, "MZ the program");
  p.Start();
  std::filesystem::create_directories(p.dir.File("All Users"));
  // A clock behind the registered version still raises it.
  p.fake.machine[std::string(kActiveSetupKey) + "|Version"] = "9999,1231,2359,59";
  ASSERT_TRUE(p.run.Apply());
  const std::string kept = p.dir.File("All Users") + "/Kwetro";
  std::string commands;
  for (const StartupCommand& c : p.fake.commands) commands += c.name + " ";
  EXPECT_EQ(commands, "Reg_0 Reg_1 Reg_2 Reg-Del Reg-AllUsers Reg-AllProfiles ");
  EXPECT_EQ(p.dir.Listing("All Users/Kwetro") + "|" + p.dir.Listing("WINDOWS/UPDKwetro"),
            "Kwetro.exe activesetup.reg profiles.reg user.reg|Kwetro.ini Setup.exe Setup.ini "
            "hkcu.reg hklm.reg");
  SetupVersion raised;
  ASSERT_TRUE(SetupVersion::Parse("9999,1231,2359,60", raised));
  for (const EveryUserScript& file : EveryUserScripts(p.selection, raised))
    EXPECT_TRUE(ReadBytes(JoinPath(kept, file.name)) == file.bytes) << file.name;

  Program local(false, settings);
  local.Start();
  ASSERT_TRUE(local.run.Apply());
  EXPECT_TRUE(local.fake.commands.empty());
  EXPECT_EQ(local.dir.Listing("work"), "activesetup.reg hkcu.reg hklm.reg profiles.reg user.reg");
  // The files the preview shows and kwetro-cli generate --remove-others keeps.
  std::vector<std::string> named = ScriptFileNames();
  std::sort(named.begin(), named.end());
  std::string joined;
  for (const std::string& name : named) joined += (joined.empty() ? "" : " ") + name;
  EXPECT_EQ(local.dir.Listing("work"), joined);
  EXPECT_FALSE(PathExists(local.dir.File("All Users")));

  // A folder that cannot be made, or a program that cannot be copied, stops
  // Apply before the start-up commands.
  for (const char* blocker : {"Kwetro", "Kwetro/Kwetro.exe"}) {
    Program blocked(true, settings);
    WriteBytes(blocked.fake.modulePath, "MZ");
    blocked.Start();
    std::filesystem::create_directories(blocked.dir.File("All Users/Kwetro"));
    std::filesystem::remove(blocked.dir.File("All Users/Kwetro"));
    if (std::string(blocker) == "Kwetro")
      WriteBytes(blocked.dir.File("All Users/Kwetro"), "");
    else
      std::filesystem::create_directories(blocked.dir.File("All Users/Kwetro/Kwetro.exe"));
    EXPECT_FALSE(blocked.run.Apply());
    ASSERT_EQ(blocked.fake.errors.size(), 1u);
    EXPECT_EQ(blocked.fake.errors[0].substr(0, blocked.fake.errors[0].find('\n')),
              std::string(blocker) == "Kwetro" ? "Не удалось создать папку"
                                               : "Не удалось записать файл программы");
    EXPECT_TRUE(blocked.fake.commands.empty()) << blocker;
  }
}

TEST(Failures, EachIsShownWithItsFileAndStopsWhatFollows) {
  const auto rows = ReadTable("tests/app/run_failures.txt");
  EXPECT_EQ(rows.size(), 5u);
  for (const auto& row : rows) {
    const bool deployed = row.at(0) == "deployed", inWork = row.at(1).rfind("work/", 0) == 0;
    Program p(deployed, deployed ? "[Start]\r\nTimer=1\r\n" : nullptr);
    const std::string blocker = inWork ? row[1].substr(5) : row[1], &what = row.at(4);
    const std::string path = (inWork ? p.work : p.folder) + blocker;
    if (row.at(2) == "big") WriteBytes(path, ""), std::filesystem::resize_file(path, 17u << 20);
    if (row[2] == "folder") std::filesystem::create_directory(path);
    WriteBytes(p.work + "hklm.reg", "earlier");
    p.Start();
    EXPECT_FALSE(row.at(3) == "apply" && p.run.Apply());
    if (row[3] == "tick") p.Ticks(1);
    if (row[3] == "cancel") p.run.Cancel();
    ASSERT_FALSE(p.fake.errors.empty()) << row[1];
    const std::string& error = p.fake.errors.back();
    EXPECT_EQ(error.rfind(what + "\n" + path + "\n\n", 0), 0u) << error;
    EXPECT_GT(error.size(), what.size() + path.size() + 2) << "no reason: " << error;
    EXPECT_EQ(ReadBytes(p.work + "hklm.reg"), "earlier");
    EXPECT_EQ(p.Has("Kwetro.ini"), row.at(5) == "1") << row[1];
    EXPECT_TRUE(p.fake.commands.empty() && p.fake.started.empty()) << row[1];
    EXPECT_EQ(p.fake.ended + p.fake.cancelFocused, 0) << row[1];
  }
}

TEST(Cancel, EndsAndADeployedCopyWithItsSettingsFileRemovesItself) {
  for (const auto& [deployed, settings] : {std::pair{false, true}, {true, false}, {true, true}}) {
    // A name 866 cannot spell: the batch file gets the short path. Its own
    // settings file is "Kwetro №2.ini", yet only Kwetro.ini removes the copy.
    Program p(deployed, settings ? "[Start]\r\nTimer=0\r\n" : nullptr, "Kwetro №2.exe");
    p.fake.shortPaths[p.fake.modulePath] = p.folder + "KWETRO~1.EXE";
    p.Start();
    p.run.Cancel();
    EXPECT_EQ(p.fake.ended, 1);
    const bool removes = deployed && settings;
    EXPECT_EQ(p.dir.Listing(deployed ? "WINDOWS/UPDKwetro" : "tools") + "|" + p.dir.Listing("work"),
              removes    ? "SelfDel.bat|"
              : settings ? "Kwetro.ini|"
                         : "|");
    EXPECT_EQ(p.fake.started.size(), removes ? 1u : 0u);
    EXPECT_EQ(ReadBytes(p.folder + "SelfDel.bat"),
              removes ? SelfDeleteBatch(p.folder + "KWETRO~1.EXE") : "");
  }
}

TEST(SelfDeleteBatch, WholeTextWithTheRussianPathIn866AndPercentSignsDoubled) {
  const std::string path =
      "C:\\\x8F\xE0\xAE\xA3\xE0\xA0\xAC\xAC\xEB\\\xF0\xAB\xAA\xA0 \xF1 "
      "100%%\\\x8A\xA2\xA5\xE2\xE0\xAE.exe";
  EXPECT_EQ(SelfDeleteBatch(OemBatchPath("C:\\Программы\\Ёлка ё 100%\\Кветро.exe")),
            "@echo off\r\nset /a attempts=0\r\n:try\r\ndel \"" + path + "\" >nul 2>nul\r\n" +
                "if not exist \"" + path + "\" goto done\r\nset /a attempts+=1\r\n" +
                "if %attempts% geq 30 goto done\r\nping -n 2 127.0.0.1 >nul\r\ngoto try\r\n" +
                ":done\r\ndel \"SelfDel.bat\"\r\n");
  EXPECT_EQ(OemBatchPath("C:\\Tools №1\\Kwetro.exe"), "");
  EXPECT_EQ(OemBatchPath("C:\\Ωmega\\Kwetro.exe"), "");
}

// System restore switched off by a click switches its service off on the
// services page, once; a selection that comes with it off keeps its service.
TEST(ServicesPage, SystemRestoreOffByAClickDisablesItsServiceAndItemsCycleWhileEnabled) {
  const int restore = OptionIndex("sCheckBox_1_9"), item = ServiceIndex("srservice");
  const int services = ServicesPage(),
            other = Controls().options[OptionIndex("iCheckBox_2_1")].page;
  const auto rows = ReadTable("tests/app/restore_service_steps.txt");
  EXPECT_EQ(rows.size(), 6u);
  for (const auto& row : rows) {
    Program p(false);
    p.selection.options[restore] = static_cast<TriState>(std::stoi(row.at(0)));
    p.selection.services[item] = cbChecked;
    p.selection.presetShown = cbChecked;
    std::istringstream steps(row.at(1));
    for (std::string step; steps >> step;) {
      if (step == "click") p.run.OptionClicked(restore);
      if (step == "services") p.run.MainPageChanged(services);
      if (step == "other") p.run.MainPageChanged(other);
      if (step == "taken") p.run.SelectionReplaced();
      if (step == "auto") p.selection.services[item] = cbChecked;
    }
    EXPECT_EQ(p.selection.services[item], std::stoi(row.at(2))) << row[0] << " " << row[1];
  }
  Program p(false);
  std::vector<TriState> seen;
  p.selection.presetShown = cbChecked;
  p.selection.services[3] = cbUnchecked;
  for (int i = 0; i < 3; ++i) p.run.ServiceItemClicked(3), seen.push_back(p.selection.services[3]);
  EXPECT_EQ(seen, (std::vector<TriState>{cbGrayed, cbChecked, cbUnchecked}));
  p.run.ServiceItemClicked(-1);
  p.run.ServiceItemClicked(79);
  p.selection.presetShown = cbGrayed;
  p.run.ServiceItemClicked(3);
  EXPECT_EQ(p.selection.services[3], cbUnchecked);
}

}  // namespace
}  // namespace kwetro::testing
