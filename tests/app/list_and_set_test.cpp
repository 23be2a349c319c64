// kwetro-cli list and set: the listing against the scripts it describes, the
// reference of all options kept current, and set's changes by name.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/cli.h"
#include "app/cli_commands.h"
#include "app/settings_file.h"
#include "catalogue/control_lines.h"
#include "catalogue/generators.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

std::string Cli(std::vector<std::string> args, int expectedExit = kExitOk) {
  std::string out, err;
  EXPECT_EQ(RunCli(args, out, err), expectedExit) << err;
  return expectedExit == kExitOk ? out : err;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ListAndSet, TheReferenceOfAllOptionsIsCurrent) {
  EXPECT_EQ(ReadText(KWETRO_SOURCE_DIR "/docs/options.md"), ListControls(Selection(), "markdown"))
      << "docs/options.md is stale: run scripts/update-options-doc.sh";
}

TEST(ListAndSet, TheListingNamesEveryControlAndWhatItWritesIsInTheScripts) {
  Selection selection;
  for (TriState& state : selection.options) state = cbChecked;
  selection.options[static_cast<std::size_t>(PresetOption())] = cbUnchecked;  // optimal
  selection.RunHandler(PresetOption(), NoStoredServices());
  const std::string tsv = ListControls(selection, "tsv");
  EXPECT_EQ(tsv.substr(0, tsv.find('\n')), "name\tpage\tkind\tstate\tcaption\thint");
  const ControlTable& t = Controls();
  std::size_t rows = 0;
  for (char c : tsv) rows += c == '\n';
  EXPECT_EQ(rows - 1, t.options.size() + t.combos.size() + t.spinners.size() + t.services.size());

  const std::string scripts =
      Cp1251ToUtf8(BuildHkcuScript(selection).Bytes() + BuildHklmScript(selection).Bytes());
  const std::string json = ListControls(selection, "json");
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

TEST(ListAndSet, SetChangesByNameAndKeepsEarlierChanges) {
  const std::string first = ::testing::TempDir() + "set-first.ini";
  const std::string second = ::testing::TempDir() + "set-second.ini";
  std::remove(first.c_str());
  std::remove(second.c_str());
  Cli({"set", "--out", first, "sCheckBox_1_2=yes", "sComboBox_5_1=-1", "sSpinner4_1=7",
       "Alerter=auto"});
  Cli({"set", "--settings", first, "--out", second, "sCheckBox_1_3=0"});
  Selection selection;
  RestoreSettings(ReadText(second), selection);
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
  std::remove(first.c_str());
  Cli({"set", "--out", first, "Alerter=auto", "srCheckBox_1_1=no"});
  Selection optimal;
  RestoreSettings(ReadText(first), optimal);
  EXPECT_EQ(optimal.State(PresetOption()), cbUnchecked);
  EXPECT_EQ(optimal.services[static_cast<std::size_t>(ServiceIndex("Alerter"))],
            Controls().services[static_cast<std::size_t>(ServiceIndex("Alerter"))].optimal);
}

TEST(ListAndSet, BadNamesAndValuesExitTwoAndWriteNothing) {
  const std::string out = ::testing::TempDir() + "set-bad.ini";
  const struct {
    const char* assignment;
    const char* message;
  } cases[] = {
      {"sCheckBox_1_22=yes", "no control or service 'sCheckBox_1_22'; closest: sCheckBox_1_2"},
      {"Alertr=auto", "closest: Alerter"},
      {"sCheckBox_1_2=maybe", "sCheckBox_1_2: 'maybe' is not yes, no or skip (1, 0, 2)"},
      {"sComboBox_5_1=3", "'3' is not an item index from 0 to 2, or -1 for no item"},
      {"sSpinner4_1=601", "'601' is not whole seconds from 0 to 600"},
      {"Alerter=on", "'on' is not auto, manual or disabled"},
      {"=yes", "'=yes' is not NAME=VALUE"},
  };
  for (const auto& c : cases) {
    std::remove(out.c_str());
    const std::string err =
        Cli({"set", "--out", out, "sCheckBox_1_3=yes", c.assignment}, kExitUsage);
    EXPECT_NE(err.find(c.message), std::string::npos) << c.assignment << ": " << err;
    EXPECT_FALSE(std::ifstream(out).good()) << c.assignment;
  }
  for (const std::vector<std::string>& args : {std::vector<std::string>{"set", "sCheckBox_1_2=yes"},
                                               {"set", "--out", out},
                                               {"list", "--format", "xml"},
                                               {"list", "--out", out}})
    Cli(args, kExitUsage);
}

}  // namespace
}  // namespace kwetro
