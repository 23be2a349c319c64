// The settings file: how its lines and names read, what it restores value by
// value, and what saving into an existing one keeps. (The fresh file of the
// built-in selection is pinned by tests/golden/built-in/selection.ini.)
#include "app/settings_file.h"

#include <gtest/gtest.h>

#include "app/ini_file.h"
#include "options/text_encoding.h"
#include "support/files.h"

namespace kwetro {
namespace {

TEST(IniLines, KindsNamesValuesAndNumbers) {
  const std::vector<std::string> kinds = {"blank", "section", "entry", "other"};
  int rows = 0;
  for (const auto& row : testing::ReadTable("tests/app/ini_values.txt")) {
    ++rows;
    if (row[0] == "line") {
      const IniLine line = ReadIniLine(row.at(4));
      EXPECT_EQ(kinds.at(line.kind), row[1]) << row[4];
      EXPECT_EQ(line.name, row[2]) << row[4];
      EXPECT_EQ(line.value, row[3]) << row[4];
    } else {
      int value = 12345;
      EXPECT_EQ(ParseIniInteger(row.at(1), value), row[2] == "1") << row[1];
      EXPECT_EQ(value, row[2] == "1" ? std::stoi(row[3]) : 12345) << row[1];
    }
  }
  EXPECT_GE(rows, 29);
}

TEST(IniLines, EveryLineEnd) {
  std::vector<std::string> lines;
  ForEachLine("a\r\nb\nc\rd\n\re\r\n", [&lines](std::string_view l) { lines.emplace_back(l); });
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
}

TEST(IniNames, FoldLatinAndCyrillicLetters) {
  EXPECT_EQ(FoldCase(Utf8ToCp1251("SCheckBox_1_9 СЕРВИС ЁЎЂЇ")),
            Utf8ToCp1251("scheckbox_1_9 сервис ёўђї"));
  EXPECT_TRUE(SameName("Checked", "cHECKED"));
  EXPECT_FALSE(SameName("Checked", "Checked "));
}

TEST(IniFile, WritesInPlaceKeepsForeignLinesAndDropsBlankOnes) {
  IniFile ini = IniFile::Parse(
      "top line\r\n[Keep]\r\n; note\r\nfoo = bar\r\nno equals here\r\n\r\n[Start]\r\nTIMER=5\r\n"
      "Other=x\r\n[a]\r\nx=1\r\nx=2\r\n[b]\r\n[A]\r\ny=4\r\n");
  ini.Write("start", "Timer", "30");  // the file's spelling of the name stays
  ini.Write("Start", "New", "v");
  ini.Write("a", "y", "5");  // found in the second section of that name
  ini.Write("a", "x", "9");  // the first entry only
  ini.Write("a", "z", "1");  // appended to the first section
  ini.Write("Fresh", "k", "1");
  EXPECT_EQ(ini.Serialize(),
            "top line\r\n\r\n[Keep]\r\n; note\r\nfoo = bar\r\nno equals here\r\n\r\n"
            "[Start]\r\nTIMER=30\r\nOther=x\r\nNew=v\r\n\r\n[a]\r\nx=9\r\nx=2\r\nz=1\r\n\r\n"
            "[b]\r\n\r\n[A]\r\ny=5\r\n\r\n[Fresh]\r\nk=1\r\n\r\n");
}

// The value the settings text gives a control, a service (by key) or "Timer".
int ValueAfter(const std::string& text, const std::string& name) {
  Selection s;
  const StoredSettings stored = RestoreSettings(text, s);
  ControlRef ref;
  if (name == "Timer" || !FindControl(name, ref)) return stored.countdown;
  const auto i = static_cast<std::size_t>(ref.index);
  switch (ref.kind) {
    case ControlKind::kOption: return s.options[i];
    case ControlKind::kCombo: return s.combos[i];
    case ControlKind::kSpinner: return s.spinners[i];
    case ControlKind::kService: return s.services[i];
  }
  return -1;
}

TEST(SettingsValues, WhatEachValueRestores) {
  const auto rows = testing::ReadTable("tests/app/settings_values.txt");
  EXPECT_GE(rows.size(), 40u);
  for (const auto& row : rows)
    EXPECT_EQ(ValueAfter(Utf8ToCp1251(row.at(2)), row[0]), std::stoi(row[1])) << row[2];
}

TEST(SettingsStore, KeepsWhatItDoesNotOwnAndRebuildsTheServicesLast) {
  Selection s;
  s.options[OptionIndex("sCheckBox_1_9")] = cbChecked;
  const std::string longLine = "note=" + std::string(10'000'000, 'x');  // read past, kept whole
  const std::string existing =
      "top line\r\n\r\n[Start]\r\nTimer=7\r\nMine=1\r\n[Servise]\r\nstale=1\r\n[Notes]\r\n"
      "; hand-written\r\n\r\n" +
      longLine +
      "\r\n[sCheckBox_1_9]\r\nChecked=0\r\nchecked=2\r\n"
      "[SCHECKBOX_1_9]\r\nChecked=2\r\n[servise]\r\nstale=2\r\n";
  EXPECT_EQ(ValueAfter(existing, "sCheckBox_1_9"), cbUnchecked);
  const std::string out = StoreSettings(s, existing);
  const std::string info = Utf8ToCp1251("Info=Отключить восстановление системы - (Да)");
  EXPECT_EQ(out.rfind("top line\r\n\r\n[Start]\r\nTimer=30\r\nMine=1\r\n\r\n[Notes]\r\n"
                      "; hand-written\r\n" +
                          longLine +
                          "\r\n\r\n[sCheckBox_1_9]\r\nChecked=1\r\n"
                          "checked=2\r\n" +
                          info +
                          "\r\nName=sCheckBox_1_9\r\n\r\n"
                          "[SCHECKBOX_1_9]\r\nChecked=2\r\n\r\n[sCheckBox_1_1]\r\n",
                      0),
            0u)
      << Cp1251ToUtf8(out.substr(0, 400));
  const std::size_t services = out.find("[Servise]\r\n" + Utf8ToCp1251("Оповещатель   *Alerter=0"));
  EXPECT_NE(services, std::string::npos);
  EXPECT_EQ(out.find("\r\n[", services), std::string::npos);  // the last section
  EXPECT_EQ(out.find("stale"), std::string::npos);
}

// The deployment's choice for every user has a section only once it was
// used: an unchanged selection's file stays as it was before the choice existed.
TEST(SettingsStore, TheSectionOfEveryUserOnlyOnceUsed) {
  const int option = OptionIndex("dCheckBox_1_1");
  Selection s;  // unchanged, it has none: tests/golden/built-in/selection.ini
  s.options[option] = cbChecked;
  const std::string on = StoreSettings(s, "");
  EXPECT_NE(on.find("\r\nName=dCheckBox_1_1\r\nChecked=1\r\n"), std::string::npos);
  s.options[option] = cbUnchecked;
  const std::string off = StoreSettings(s, on);
  EXPECT_NE(off.find("\r\nName=dCheckBox_1_1\r\nChecked=0\r\n"), std::string::npos);
}

TEST(SettingsFile, MissingUnreadableAndPresent) {
  testing::TempDir dir;
  Selection s;
  StoredSettings stored;
  std::string reason;
  const std::string path = dir.File("k.ini");
  EXPECT_EQ(LoadSettings(path, s, stored, reason), LoadResult::kNoFile);
  EXPECT_FALSE(SettingsFileServices(path).Read(stored.services));

  dir.Write("k.ini", Utf8ToCp1251("[Start]\r\nTimer=7\r\n[Servise]\r\nОповещатель   *Alerter=1"));
  EXPECT_EQ(LoadSettings(path, s, stored, reason), LoadResult::kLoaded);
  EXPECT_EQ(stored.countdown, 7);
  std::vector<int> states;
  EXPECT_TRUE(SettingsFileServices(path).Read(states));  // read again when asked
  EXPECT_EQ(states[ServiceIndex("Alerter")], cbChecked);
  EXPECT_EQ(states[ServiceIndex("RpcSs")], kNotStored);

  std::filesystem::create_directory(dir.File("folder.ini"));
  EXPECT_EQ(LoadSettings(dir.File("folder.ini"), s, stored, reason), LoadResult::kFailed);
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(SaveSettings(dir.File("folder.ini"), s, reason), SaveResult::kWriteFailed);
  EXPECT_FALSE(SettingsFileServices(dir.File("folder.ini")).Read(states));
}

TEST(SettingsFilePath, ReplacesTheExtensionOfTheFileNameOnly) {
  EXPECT_EQ(SettingsFilePath("C:\\WINDOWS\\UPDKwetro\\Kwetro.exe"),
            "C:\\WINDOWS\\UPDKwetro\\Kwetro.ini");
  EXPECT_EQ(SettingsFilePath("C:\\tools\\Tuner.v2.exe"), "C:\\tools\\Tuner.v2.ini");
  EXPECT_EQ(SettingsFilePath("/opt/my.dir/kwetro"), "/opt/my.dir/kwetro.ini");
  EXPECT_EQ(SettingsFilePath("C:\\a.b\\Kwetro"), "C:\\a.b\\Kwetro.ini");
}

}  // namespace
}  // namespace kwetro
