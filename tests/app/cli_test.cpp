// kwetro-cli: its usage errors, that it writes what the engine gives, the
// listing against the scripts it describes, the reference of all options kept
// current, and set's changes by name. (Failing files and disks:
// robustness/failing_disk_test.cpp.)
#include <gtest/gtest.h>

#include "app/all_users.h"
#include "app/cli_commands.h"
#include "catalogue/control_lines.h"
#include "options/text_encoding.h"
#include "support/checks.h"
#include "support/files.h"

namespace kwetro::testing {
namespace {

TEST(Cli, UsageErrorsExitWithTwoSayWhyAndWriteNothing) {
  TempDir dir;
  const auto cases = ReadCommandCases("tests/app/cli_usage_errors.txt", dir.Path());
  EXPECT_EQ(cases.size(), 20u);
  for (const CommandCase& c : cases) {
    const CliRun r = Cli(c.args);
    EXPECT_EQ(r.code, c.code) << c.message;
    EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << r.err;
    EXPECT_NE(r.err.find("\nusage: kwetro-cli generate"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(dir.Listing(), "") << c.message;
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

  // For every user: the user's part and the registration too, as Apply writes them.
  ASSERT_EQ(
      Cli({"set", "--settings", dir.File("k.ini"), "--out", dir.File("k.ini"), "dCheckBox_1_1=yes"})
          .code,
      kExitOk);
  r = Cli({"generate", "--settings", dir.File("k.ini"), "--out", dir.Path()});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.out, dir.File("hkcu.reg") + "\n" + dir.File("hklm.reg") + "\n" +
                       dir.File("user.reg") + "\n" + dir.File("activesetup.reg") + "\n" +
                       dir.File("profiles.reg") + "\n");
  const Selection everyUser = Restored(dir.Read("k.ini"));
  EXPECT_TRUE(dir.Read("user.reg") == EveryUserScripts(everyUser, SetupVersion())[0].bytes);
  EXPECT_TRUE(dir.Read("hkcu.reg") == BuildHkcuScript(everyUser).Bytes());

  // --remove-others: a selection for the current user alone leaves no file of
  // the one before; the files it does not write are named as removed.
  r = Cli({"generate", "--out", dir.Path(), "--remove-others"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.out, dir.File("hkcu.reg") + "\n" + dir.File("hklm.reg") + "\n" + "removed " +
                       dir.File("user.reg") + "\nremoved " + dir.File("activesetup.reg") +
                       "\nremoved " + dir.File("profiles.reg") + "\n");
  EXPECT_EQ(dir.Listing(), "hkcu.reg hklm.reg k.ini out.ini");
}

TEST(Cli, TheReferenceOfAllOptionsIsCurrent) {
  EXPECT_EQ(ReadBytes(SourcePath("docs/options.md")), ListControls(Selection(), Format::kMarkdown))
      << "docs/options.md is stale: run scripts/update-options-doc.sh";
}

TEST(Cli, TheListingNamesEveryControlAndWhatItWritesIsInTheScripts) {
  Selection selection;
  for (TriState& state : selection.options) state = cbChecked;
  selection.options[static_cast<std::size_t>(PresetOption())] = cbUnchecked;  // optimal
  selection.RunHandler(PresetOption(), NoStoredServices());
  const std::string scripts =
      Cp1251ToUtf8(BuildHkcuScript(selection).Bytes() + BuildHklmScript(selection).Bytes());
  const std::string json = ListControls(selection, Format::kJson);
  for (const char* expected :
       {"{\"name\": \"sCheckBox_1_10\", \"page\": \"Система / Общие\", \"kind\": \"option\", "
        "\"state\": \"yes\"",
        "\"writes\": [\"[HKEY_CURRENT_USER\\\\Environment]\", \"\\\"TEMP\\\"=-\", "
        "\"\\\"TMP\\\"=-\"]",
        "{\"name\": \"Alerter\", \"page\": \"Сервисы и службы\", \"kind\": \"service\", "
        "\"state\": \"disabled\", \"caption\": \"Оповещатель\""})
    EXPECT_NE(json.find(expected), std::string::npos) << expected;
  ForEachControlLine(&selection, [&](ControlRef control, std::string_view line) {
    EXPECT_NE(scripts.find(std::string(line) + "\r\n"), std::string::npos)
        << ControlName(control) << " writes " << line;
  });
}

TEST(Cli, SetChangesByNameAndKeepsEarlierChanges) {
  TempDir dir;
  const std::string first = dir.File("first.ini"), second = dir.File("second.ini");
  ASSERT_EQ(Cli({"set", "--out", first, "sCheckBox_1_2=yes", "sComboBox_5_1=-1", "sSpinner4_1=7",
                 "Alerter=auto"})
                .code,
            kExitOk);
  ASSERT_EQ(Cli({"set", "--settings", first, "--out", second, "sCheckBox_1_3=0"}).code, kExitOk);
  const Selection selection = Restored(ReadBytes(second));
  EXPECT_EQ(selection.State(OptionIndex("sCheckBox_1_2")), cbChecked);
  EXPECT_EQ(selection.State(OptionIndex("sCheckBox_1_3")), cbUnchecked);
  EXPECT_EQ(selection.combos[static_cast<std::size_t>(ComboIndex("sComboBox_5_1"))], -1);
  EXPECT_EQ(selection.spinners[static_cast<std::size_t>(SpinnerIndex("sSpinner4_1"))], 7);
  // A service set while the services were left alone switched the preset
  // to "from the settings file", so the script carries it.
  EXPECT_EQ(selection.State(PresetOption()), cbChecked);
  EXPECT_NE(
      BuildHklmScript(selection).Bytes().find("Services\\Alerter]\r\n\"Start\"=dword:00000002"),
      std::string::npos);

  // The same command setting the preset keeps its choice; assignments go in order.
  ASSERT_EQ(Cli({"set", "--out", dir.File("third.ini"), "Alerter=auto", "srCheckBox_1_1=no"}).code,
            kExitOk);
  const Selection optimal = Restored(ReadBytes(dir.File("third.ini")));
  EXPECT_EQ(optimal.State(PresetOption()), cbUnchecked);
  const auto alerter = static_cast<std::size_t>(ServiceIndex("Alerter"));
  EXPECT_EQ(optimal.services[alerter], Controls().services[alerter].optimal);
}

}  // namespace
}  // namespace kwetro::testing
