#include <gtest/gtest.h>

#include "app/ini_file.h"

namespace kwetro {
namespace {

TEST(IniFile, ReadsNamesWithoutRegardToCaseAndTrimsBlanks) {
  const IniFile ini = IniFile::Parse(
      "; a comment\r\n[ Start ]\r\n  timer =  0x10 \r\n[sCheckBox_1_9]\r\nChecked= 1\r\n"
      "[\xD1\xE5\xF0\xE2\xE8\xF1]\r\n\xC0\xE2\xF2\xEE=2\r\n");
  EXPECT_EQ(ini.Read("START", "Timer", "?"), "0x10");
  EXPECT_EQ(ini.Read("scheckbox_1_9", "CHECKED", "?"), "1");
  // Russian names fold too: section "Сервис", entry "Авто" read as "сЕРВИС" / "аВТО".
  EXPECT_EQ(ini.Read("\xF1\xC5\xD0\xC2\xC8\xD1", "\xE0\xC2\xD2\xCE", "?"), "2");
  EXPECT_EQ(ini.Read("Start", "missing", "dflt"), "dflt");
  EXPECT_EQ(ini.Find("nosection", "x"), nullptr);
}

TEST(IniFile, AcceptsEveryLineEnd) {
  for (const char* bytes : {"[a]\nx=1\ny=2\n", "[a]\rx=1\ry=2", "[a]\r\nx=1\r\n\r\ny=2"}) {
    const IniFile ini = IniFile::Parse(bytes);
    EXPECT_EQ(ini.Read("a", "x", ""), "1") << bytes;
    EXPECT_EQ(ini.Read("a", "y", ""), "2") << bytes;
  }
}

TEST(IniFile, WritesInPlaceAppendsNewEntriesAndKeepsForeignContent) {
  IniFile ini = IniFile::Parse(
      "top line\r\n[Keep]\r\n; note\r\nfoo = bar\r\nno equals here\r\n\r\n[Start]\r\nTimer=5\r\n"
      "Other=x\r\n");
  ini.Write("start", "TIMER", "30");
  ini.Write("Start", "New", "v");
  ini.Write("Fresh", "k", "1");
  EXPECT_EQ(ini.Serialize(),
            "top line\r\n\r\n[Keep]\r\n; note\r\nfoo = bar\r\nno equals here\r\n\r\n"
            "[Start]\r\nTimer=30\r\nOther=x\r\nNew=v\r\n\r\n[Fresh]\r\nk=1\r\n\r\n");
}

TEST(IniFile, DuplicateSectionsAndEntriesResolveToTheFirst) {
  IniFile ini = IniFile::Parse("[a]\r\nx=1\r\nx=2\r\n[b]\r\n[A]\r\nx=3\r\ny=4\r\n");
  EXPECT_EQ(ini.Read("a", "x", ""), "1");
  EXPECT_EQ(ini.Read("a", "y", ""), "4");  // the second [A] is searched too
  ini.Write("a", "y", "5");                // and updated where it stands
  ini.Write("a", "x", "9");
  EXPECT_EQ(ini.Serialize(), "[a]\r\nx=9\r\nx=2\r\n\r\n[b]\r\n\r\n[A]\r\nx=3\r\ny=5\r\n\r\n");
}

TEST(IniFile, EraseSectionRemovesEveryCopyAndRebuildsAtTheEnd) {
  IniFile ini = IniFile::Parse("[Servise]\r\nold=1\r\n[z]\r\nq=1\r\n[servise]\r\nold2=0\r\n");
  ini.EraseSection("Servise");
  EXPECT_EQ(ini.Find("Servise", "old"), nullptr);
  ini.Write("Servise", "new", "2");
  EXPECT_EQ(ini.Serialize(), "[z]\r\nq=1\r\n\r\n[Servise]\r\nnew=2\r\n\r\n");
}

TEST(IniFile, SaveLoadSaveIsStableForHostileText) {
  std::string garbage = "[x]\r\n";
  for (int b = 0; b < 256; ++b) garbage += static_cast<char>(b);
  garbage += "\n=\n[\n]\n[]\n==\n";
  const std::string once = IniFile::Parse(garbage).Serialize();
  EXPECT_EQ(IniFile::Parse(once).Serialize(), once);
}

TEST(IniInteger, DecimalHexadecimalAndEverythingElse) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  } cases[] = {
      {"30", true, 30},           {"-2147483648", true, -2147483647 - 1},
      {"2147483647", true, 2147483647}, {"+7", true, 7},
      {"0x10", true, 16},         {"0XfFfFfFfF", true, -1},
      {"0x7fffffff", true, 2147483647}, {"99999999999", false, 0},
      {"2147483648", false, 0},   {"-2147483649", false, 0},
      {"0x", false, 0},           {"0x123456789", false, 0},
      {"0xg", false, 0},          {"-0x10", false, 0},
      {"1e3", false, 0},          {"", false, 0},
      {"-", false, 0},            {" 12", false, 0},
      {"01", true, 1},
  };
  for (const Case& c : cases) {
    int value = 12345;
    EXPECT_EQ(ParseIniInteger(c.text, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

}  // namespace
}  // namespace kwetro
