// kwetro-cli: its usage errors, and that it writes what the engine gives.
// (Failing files and disks: robustness/failing_disk_test.cpp.)
#include <gtest/gtest.h>

#include "support/checks.h"
#include "support/files.h"

namespace kwetro::testing {
namespace {

TEST(Cli, UsageErrorsExitWithTwoAndSayWhy) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{}, "no command given"},
      {{"build"}, "unknown command 'build'"},
      {{"generate", "--outdir", "x"}, "unknown argument '--outdir'"},
      {{"generate", "--out"}, "--out needs a value"},
      {{"generate", "--settings", ""}, "--settings needs a value"},
      {{"generate", "--out", "a", "--out", "b"}, "--out given twice"},
      {{"settings", "--settings", "a.ini"}, "settings needs --out FILE2"},
  };
  for (const auto& c : cases) {
    const CliRun r = Cli(c.args);
    EXPECT_EQ(r.code, kExitUsage) << c.message;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), std::string("kwetro-cli: ") + c.message);
    EXPECT_NE(r.err.find("\nusage: kwetro-cli generate"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  const CliRun help = Cli({"--help"});
  EXPECT_EQ(help.code, kExitOk);
  EXPECT_EQ(help.out.rfind("usage:", 0), 0u);
}

TEST(Cli, WritesWhatTheEngineGivesForTheSameSettingsFile) {
  TempDir dir;
  const std::string settings = ReadBytes(SourcePath("tests/golden/mixed-b/selection.ini"));
  dir.Write("k.ini", settings);
  const Selection selection = Restored(settings);
  CliRun r = Cli({"generate", "--settings", dir.File("k.ini"), "--out", dir.Path()});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.out, dir.File("hkcu.reg") + "\n" + dir.File("hklm.reg") + "\n");
  EXPECT_TRUE(dir.Read("hkcu.reg") == BuildHkcuScript(selection).Bytes());
  EXPECT_TRUE(dir.Read("hklm.reg") == BuildHklmScript(selection).Bytes());

  // Without --settings: the built-in selection. "settings" merges into its FILE2.
  dir.Write("out.ini", "[Mine]\r\nkeep=1\r\n");
  ASSERT_EQ(Cli({"generate", "--out", dir.Path()}).code, kExitOk);
  EXPECT_TRUE(dir.Read("hklm.reg") == BuildHklmScript(Selection()).Bytes());
  r = Cli({"settings", "--settings", dir.File("k.ini"), "--out", dir.File("out.ini")});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.out, dir.File("out.ini") + "\n");
  EXPECT_TRUE(dir.Read("out.ini") == StoreSettings(selection, "[Mine]\r\nkeep=1\r\n"));
  EXPECT_EQ(dir.Listing(), "hkcu.reg hklm.reg k.ini out.ini");
}

}  // namespace
}  // namespace kwetro::testing
