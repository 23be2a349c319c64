#include <gtest/gtest.h>

#include <filesystem>

#include "app/cli.h"
#include "app/settings_file.h"
#include "support/script_lines.h"
#include "support/temp_dir.h"

namespace kwetro {
namespace {

using testing::BuiltInForm;
using testing::TempDir;

struct CliRun {
  int code;
  std::string out, err;
};

CliRun Cli(std::vector<std::string> args) {
  CliRun r;
  r.code = RunCli(args, r.out, r.err);
  return r;
}

std::size_t FileCount(const TempDir& dir) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++n;
  return n;
}

TEST(Cli, UsageErrorsExitWithTwoAndSayWhy) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {},
           {"build"},
           {"generate", "--outdir", "x"},
           {"generate", "--out"},
           {"generate", "--out", ""},
           {"generate", "--out", "a", "--out", "b"},
           {"settings"},
           {"settings", "--settings", "a.ini"}}) {
    const CliRun r = Cli(args);
    EXPECT_EQ(r.code, kExitUsage);
    EXPECT_NE(r.err.find("kwetro-cli: "), std::string::npos);
    EXPECT_NE(r.err.find("usage:"), std::string::npos);
  }
  const CliRun help = Cli({"--help"});
  EXPECT_EQ(help.code, kExitOk);
  EXPECT_NE(help.out.find("generate"), std::string::npos);
}

TEST(Cli, GenerateWritesBothScriptsOfTheBuiltInSelection) {
  TempDir dir;
  const CliRun r = Cli({"generate", "--out", dir.Path()});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const Form form = BuiltInForm();
  EXPECT_EQ(dir.Read("hkcu.reg"), BuildHkcuScript(form).Bytes());
  EXPECT_EQ(dir.Read("hklm.reg"), BuildHklmScript(form).Bytes());
  EXPECT_EQ(FileCount(dir), 2u);
  EXPECT_LT(r.out.find("hkcu.reg"), r.out.find("hklm.reg"));
}

TEST(Cli, GenerateRestoresTheSettingsFileAsTheProgramDoes) {
  TempDir dir;
  dir.Write("k.ini",
            "[sCheckBox_1_9]\r\nChecked=1\r\n[srCheckBox_1_1]\r\nChecked=0\r\n"
            "[sSpinner4_3]\r\nIndex=42\r\n");
  ASSERT_EQ(Cli({"generate", "--settings", dir.File("k.ini"), "--out", dir.Path()}).code, kExitOk);
  Form form = BuiltInForm();
  form.settingsPath = dir.File("k.ini");
  int countdown = 0;
  std::string error;
  ASSERT_EQ(LoadSettings(form, dir.File("k.ini"), countdown, error), LoadResult::kLoaded);
  EXPECT_EQ(dir.Read("hklm.reg"), BuildHklmScript(form).Bytes());
  EXPECT_NE(dir.Read("hklm.reg").find("\"WaitToKillServiceTimeout\"=\"42000\""), std::string::npos);
}

TEST(Cli, SettingsCommandWritesWhatApplyWouldAndMergesIntoAnExistingFile) {
  TempDir dir;
  dir.Write("out.ini", "[Mine]\r\nkeep=yes\r\n");
  ASSERT_EQ(Cli({"settings", "--out", dir.File("out.ini")}).code, kExitOk);
  const IniFile ini = IniFile::Parse(dir.Read("out.ini"));
  EXPECT_EQ(ini.Read("Mine", "keep", ""), "yes");
  EXPECT_EQ(ini.Read("Start", "Timer", ""), "30");
  EXPECT_EQ(ini.Read("sCheckBox_1_1", "Name", ""), "sCheckBox_1_1");
}

TEST(Cli, InputAndOutputFailuresExitWithOneNamingTheFile) {
  TempDir dir;
  CliRun r = Cli({"generate", "--settings", dir.File("none.ini"), "--out", dir.Path()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_NE(r.err.find(dir.File("none.ini")), std::string::npos) << r.err;
  EXPECT_EQ(FileCount(dir), 0u);

  r = Cli({"generate", "--out", dir.File("missing-folder")});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_NE(r.err.find("hkcu.reg"), std::string::npos) << r.err;

  // A folder where hklm.reg should go: hkcu.reg is written, hklm.reg fails,
  // and no temporary file is left behind.
  std::filesystem::create_directory(dir.File("hklm.reg"));
  r = Cli({"generate", "--out", dir.Path()});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_NE(r.err.find("hklm.reg"), std::string::npos) << r.err;
  EXPECT_TRUE(dir.Exists("hkcu.reg"));
  EXPECT_EQ(FileCount(dir), 2u);
}

TEST(Cli, AFailedWriteLeavesTheEarlierScriptIntact) {
  TempDir dir;
  ASSERT_EQ(Cli({"generate", "--out", dir.Path()}).code, kExitOk);
  const std::string before = dir.Read("hkcu.reg");
  std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read |
                                               std::filesystem::perms::owner_exec);
  const CliRun r = Cli({"generate", "--out", dir.Path()});
  std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
  if (r.code == kExitOk) GTEST_SKIP() << "running with rights that ignore a read-only folder";
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_EQ(dir.Read("hkcu.reg"), before);
  EXPECT_EQ(FileCount(dir), 2u);
}

}  // namespace
}  // namespace kwetro
