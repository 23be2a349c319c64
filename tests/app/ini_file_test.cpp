#include "app/ini_file.h"

#include <gtest/gtest.h>

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

TEST(IniFile, EraseSectionRemovesEveryCopyAndTheRestStaysWritable) {
  IniFile ini =
      IniFile::Parse("[Servise]\r\nold=1\r\n[z]\r\nq=1\r\n[servise]\r\nold2=0\r\n[y]\r\n");
  ini.EraseSection("SERVISE");
  ini.Write("y", "p", "2");
  ini.Write("z", "q", "3");
  ini.Write("Servise", "new", "2");
  EXPECT_EQ(ini.Serialize(), "[z]\r\nq=3\r\n\r\n[y]\r\np=2\r\n\r\n[Servise]\r\nnew=2\r\n\r\n");
}

}  // namespace
}  // namespace kwetro
