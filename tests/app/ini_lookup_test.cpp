// The settings file's lookups: by name without regard to case, the first
// entry in file order, across sections that appear more than once; and the
// reading of one section alone that the services preset does.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/ini_file.h"

namespace kwetro {
namespace {

// Find for every name, one by one: what FindEach must agree with.
std::vector<const std::string*> FindOneByOne(const IniFile& ini, std::string_view section,
                                             const std::vector<std::string>& names) {
  std::vector<const std::string*> values;
  for (const std::string& name : names) values.push_back(ini.Find(section, name));
  return values;
}

TEST(IniLookup, FindEachAgreesWithFindForEveryName) {
  // Names that end alike, differ only in case (Latin and Russian), repeat, or
  // are missing; the section appears twice, the second time in other case.
  const IniFile ini = IniFile::Parse(
      "[Servise]\r\n"
      "Alerter   *Alerter=2\r\nDNS-client   *Dnscache=1\r\n\xCA\xEB\xE8\xE5\xED\xF2   "
      "*Dnscache=0\r\n"
      "; comment=9\r\nno equals sign\r\nalerter   *ALERTER=1\r\n"
      "[Other]\r\nAlerter   *Alerter=7\r\n"
      "[SERVISE]\r\n\xEA\xEB\xE8\xE5\xED\xF2   *DNSCACHE=2\r\nLate   *Late=0\r\n");
  const std::vector<std::string> names = {
      "alerter   *alerter", "DNS-client   *Dnscache", "\xEA\xEB\xE8\xE5\xED\xF2   *dnscache",
      "Late   *Late",       "missing   *Dnscache",    "; comment",
      "no equals sign",     "Alerter   *Alerter"};
  const auto each = ini.FindEach("servise", names);
  EXPECT_EQ(each, FindOneByOne(ini, "servise", names));
  ASSERT_NE(each[0], nullptr);
  EXPECT_EQ(*each[0], "2");  // the first of the two spellings
  ASSERT_NE(each[2], nullptr);
  EXPECT_EQ(*each[2], "0");  // Russian letters fold too; the first section wins
  ASSERT_NE(each[3], nullptr);
  EXPECT_EQ(*each[3], "0");  // found in the second section of the name
  EXPECT_EQ(each[4], nullptr);
  EXPECT_EQ(each[5], nullptr);
  EXPECT_EQ(each[6], nullptr);
}

TEST(IniLookup, ManySectionsOfManyNames) {
  // Enough sections to outgrow the name table several times, each name twice.
  std::string text;
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 700; ++i)
      text += "[box_" + std::to_string(i) + "]\r\nChecked=" + std::to_string(round) + "\r\n" +
              (round ? "Late=" + std::to_string(i) + "\r\n" : "");
  IniFile ini = IniFile::Parse(text);
  for (int i = 0; i < 700; i += 37) {
    const std::string name = "BOX_" + std::to_string(i);
    EXPECT_EQ(ini.Read(name, "checked", "?"), "0") << name;
    EXPECT_EQ(ini.Read(name, "late", "?"), std::to_string(i)) << name;
  }
  ini.EraseSection("box_5");
  EXPECT_EQ(ini.Find("box_5", "Checked"), nullptr);
  ini.Write("box_5", "Checked", "2");
  EXPECT_EQ(ini.Read("Box_5", "Checked", "?"), "2");
  EXPECT_EQ(ini.Read("box_6", "Checked", "?"), "0");
  EXPECT_NE(ini.Serialize().find("[box_699]\r\nChecked=1\r\nLate=699\r\n\r\n[box_5]\r\nChecked=2"),
            std::string::npos);
}

TEST(IniLookup, ReadingOneSectionKeepsOnlyItsSections) {
  const std::string text =
      "top=1\r\n"
      "[A]\r\nx=[Servise]\r\nfake=1\r\n[also not\r\n  [Servise]  \r\nfirst=1\r\n"
      "[B]\r\nsecond=9\r\n\t[servise]\r\nsecond=2\r\n[C]\r\n[Servise]x\r\nthird=3\r\n";
  const IniFile full = IniFile::Parse(text);
  const IniFile one = IniFile::ParseSection(text, "SERVISE");
  for (const char* name : {"first", "second", "third", "fake"})
    EXPECT_EQ(one.Read("Servise", name, "-"), full.Read("Servise", name, "-")) << name;
  EXPECT_EQ(one.Read("Servise", "second", "-"), "2");
  EXPECT_EQ(one.Find("A", "x"), nullptr);
  EXPECT_EQ(one.Find("B", "second"), nullptr);
  EXPECT_EQ(one.Serialize(), "  [Servise]  \r\nfirst=1\r\n\r\n\t[servise]\r\nsecond=2\r\n\r\n");
}

TEST(IniLookup, ReadingOneSectionAcceptsEveryLineEnd) {
  for (const char* end : {"\r\n", "\n", "\r"}) {
    std::string text;
    for (const char* line : {"[a]", "s=0", "[Servise]", "s=1", "[b]", "s=2", "[servise]", "t=3"})
      text += std::string(line) + end;
    const IniFile one = IniFile::ParseSection(text, "Servise");
    EXPECT_EQ(one.Read("Servise", "s", "-"), "1") << end;
    EXPECT_EQ(one.Read("Servise", "t", "-"), "3") << end;
    EXPECT_EQ(one.Find("a", "s"), nullptr) << end;
  }
}

TEST(IniLookup, RandomFilesReadTheSameWholeAndByOneSection) {
  std::mt19937 rng(7);
  const char* const pieces[] = {"[Servise]", "[servise ]",  "[Other]", "  [x]", "a=1",
                                "A = 2",     "b=[Servise]", "[",       "]",     "\xC0=3",
                                "\xE0=4",    ";a=5",        "",        " ",     "\t"};
  const char* const ends[] = {"\r\n", "\n", "\r"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int n = rng() % 20; n > 0; --n) text += std::string(pieces[rng() % 15]) + ends[rng() % 3];
    const IniFile full = IniFile::Parse(text);
    const IniFile one = IniFile::ParseSection(text, "servise");
    for (const char* name : {"a", "b", "\xC0", "\xE0", ";a"}) {
      EXPECT_EQ(one.Read("Servise", name, "-"), full.Read("Servise", name, "-"))
          << name << " in " << text;
      EXPECT_EQ(one.FindEach("Servise", {name})[0], one.Find("Servise", name));
    }
  }
}

}  // namespace
}  // namespace kwetro
