// Properties over crafted settings files, random selections and the fuzz
// targets' inputs: no settings file puts a line into a script that the program
// does not define, and a save and a load keep every control. Each failure
// shows the input that made it.
#include <gtest/gtest.h>

#include <regex>

#include "app/all_users.h"
#include "options/text_encoding.h"
#include "support/checks.h"
#include "support/files.h"

namespace kwetro::testing {
namespace {

// Settings files made of the program's own names in any letter case, the
// values the reader must tell apart, raw bytes, and text dressed as registry lines.
std::string CraftedSettings(std::mt19937& rng) {
  static const auto names = [] {
    std::vector<std::string> sections = {"Start", "Servise", "Servise", "Notes", ""},
                             entries = {"Checked", "Checked", "Checked", "Index",
                                        "Index",   "Timer",   ""};
    for (const OptionDecl& o : Controls().options) sections.emplace_back(o.name);
    for (const ComboDecl& c : Controls().combos) sections.emplace_back(c.name);
    for (const SpinnerDecl& s : Controls().spinners) sections.emplace_back(s.name);
    for (const ServiceDecl& s : Controls().services) entries.push_back(Utf8ToCp1251(s.ItemText()));
    return std::pair(sections, entries);
  }();
  // clang-format off
  static const std::vector<std::string> values = {
      "0", "1", "2", "3", "-1", "01", " 1 ", "", "0x10", "0XfFfFfFfF", "1e3", "-2147483648",
      "99999999999", "601", "[HKEY_LOCAL_MACHINE\\Evil]", "\"Evil\"=dword:00000001", "@=\"x\"",
      "1\r\n[-HKEY_CURRENT_USER]"};
  // clang-format on
  const auto any = [&rng](const std::vector<std::string>& from) {
    return from[rng() % from.size()];
  };
  std::string out;
  for (unsigned lines = 1 + rng() % 300; lines-- > 0;) {
    std::string entry = any(names.second);
    for (char& c : entry)
      if (std::isalpha(static_cast<unsigned char>(c)) && rng() % 4 == 0) c ^= 0x20;
    switch (rng() % 5) {
      case 0:
        out += " [ " + any(names.first) + "]";
        break;
      case 1:
        for (unsigned n = rng() % 30; n-- > 0;) out += static_cast<char>(rng());
        break;
      default:
        out += entry + " = " + any(values);
    }
    out += any({"\r\n", "\r\n", "\n", "\r", "\n\r", ""});
  }
  return out;
}

TEST(ScriptProperties, EveryLineAnyScriptCanHoldIsOfAKindTheRegistryEditorReads) {
  const std::string list = R"([0-9a-f]{2}(,[0-9a-f]{2})*(,\\)?)", quoted = R"("([^"\\]|\\.)*")";
  const std::regex kinds(
      R"(Windows Registry Editor Version 5\.00|;.*|)"
      R"(\[-?HKEY_(LOCAL_MACHINE|CURRENT_USER|CLASSES_ROOT|USERS|CURRENT_CONFIG)(\\[^\\\[\]]+)*\]|)" +
      ("(" + quoted + "|@)=(-|" + quoted + "|dword:[0-9a-f]{8}|hex(\\([0-9a-f]\\))?:(" + list +
       ")?)|(  )?" + list));
  for (const std::string& line : ScriptVocabulary())
    EXPECT_TRUE(line.empty() || std::regex_match(line, kinds)) << Cp1251ToUtf8(line);
  for (const char* bad : {"[HKLM\\A]", "[HKEY_USERS\\A\\\\B]", "\"x\"=dword:1",
                          "\"x\"=dword:0000000A", "x=1", "\"x\"=\"open", "\"x\"=hex:0,1"})
    EXPECT_FALSE(std::regex_match(bad, kinds)) << bad;
  // Lines a settings file could try to smuggle in are none of the program's.
  for (const char* line : {"\"Evil\"=dword:00000001", "[HKEY_LOCAL_MACHINE\\Evil]",
                           "\"WaitToKillServiceTimeout\"=\"601000\"", "; Info"})
    EXPECT_EQ(ScriptVocabulary().count(line), 0u) << line;
  EXPECT_EQ(ScriptVocabulary().count("\"WaitToKillServiceTimeout\"=\"600000\""), 1u);
}

TEST(ScriptProperties, NoSettingsFileMakesAScriptHoldALineTheProgramDoesNotDefine) {
  TempDir dir;
  std::mt19937 rng(1206);
  for (int round = 0; round < 300; ++round) {
    const std::string crafted = CraftedSettings(rng);
    // Saving the restored selection into the crafted file keeps it, too.
    EXPECT_EQ(CheckSettingsBytes(crafted), "");
    if (round % 20 == 0) {  // kwetro-cli writes its files and nothing else
      dir.Write("k.ini", crafted);
      EXPECT_EQ(Cli({"generate", "--settings", dir.File("k.ini"), "--out", dir.Path()}).code,
                kExitOk);
      Selection restored;
      RestoreSettings(crafted, restored);
      EXPECT_EQ(dir.Listing(), ForEveryUser(restored)
                                   ? "activesetup.reg hkcu.reg hklm.reg k.ini profiles.reg user.reg"
                                   : "hkcu.reg hklm.reg k.ini");
      for (const char* name : {"activesetup.reg", "profiles.reg", "user.reg"})
        std::filesystem::remove(dir.File(name));
    }
    if (HasFailure()) {
      ADD_FAILURE() << "round " << round << ", crafted file:\n"
                    << Cp1251ToUtf8(crafted.substr(0, 3000));
      return;
    }
  }
}

TEST(ScriptProperties, SaveLoadSaveKeepsEverySelection) {
  std::mt19937 rng(78);
  EXPECT_EQ(CheckRoundTrip(Selection(), ""), "");
  for (int round = 0; round < 200; ++round) {
    const Selection selection = RandomSelection(rng);
    const std::string existing = round % 2 ? CraftedSettings(rng) : "";
    EXPECT_EQ(CheckRoundTrip(selection, existing), "") << "round " << round;
    if (HasFailure()) {
      ADD_FAILURE() << "saved into:\n" << Cp1251ToUtf8(existing.substr(0, 3000));
      return;
    }
  }
  Selection changed;
  changed.combos[2] = -1;
  EXPECT_EQ(DifferentControl(Selection(), changed), "sComboBox_3_1");  // the check sees a change
}

// The fuzz targets' seeds and every input a fuzz run ever failed on, through
// the targets' own checks (support/checks.h) on every build: a fault found
// once stays found. A new failure goes into fuzz/regressions/<target>/.
TEST(FuzzInputs, PassTheChecksOfTheirTarget) {
  int inputs = 0;
  std::error_code none;
  const auto each = [&](const std::string& folder, std::string (*check)(std::string_view),
                        const char* type) {
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(SourcePath(folder), none)) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || name[0] == '.' || entry.path().extension() != type) continue;
      EXPECT_EQ(check(ReadBytes(entry.path())), "") << entry.path().string();
      ++inputs;
    }
  };
  each("fuzz/corpus/settings", CheckSettingsBytes, ".ini");
  each("fuzz/regressions/settings", CheckSettingsBytes, "");
  each("tests/golden", CheckSettingsBytes, ".ini");  // the seeds test-fuzz.sh adds
  each("fuzz/corpus/layout", CheckLayoutBytes, ".form");
  each("fuzz/regressions/layout", CheckLayoutBytes, "");
  each("fuzz/corpus/undo", CheckExportBytes, ".reg");
  each("fuzz/regressions/undo", CheckExportBytes, "");
  EXPECT_EQ(CheckLayoutBytes(ReadBytes(SourcePath("ui/kwetro.form"))), "");
  EXPECT_GE(inputs, 10) << "the source tree is out of reach at " << SourcePath("").string();
}

}  // namespace
}  // namespace kwetro::testing
