#include <gtest/gtest.h>

#include "catalogue/services_page.h"
#include "support/script_lines.h"

namespace kwetro {
namespace {

using testing::BuiltInForm;
using testing::Lines;
using testing::Section;

const char kTitle[] = "СЕРВИСЫ И СЛУЖБЫ";

Form WithServices(std::vector<std::string> items, std::vector<TriState> states) {
  Form form = BuiltInForm();
  form.services.items.clear();
  for (const auto& item : items) form.services.items.push_back(Utf8ToCp1251(item));
  form.services.states = std::move(states);
  form.services.enabled = true;
  return form;
}

TEST(LastPos, FindsTheLastOccurrenceOneBased) {
  EXPECT_EQ(LastPos("*", "ab*cd*ef"), 6u);
  EXPECT_EQ(LastPos("*", "*"), 1u);
  EXPECT_EQ(LastPos("*", "abc"), 0u);
  EXPECT_EQ(LastPos("*", ""), 0u);
  EXPECT_EQ(LastPos("cd", "abcdcd"), 5u);
}

TEST(ServicesSection, EachItemWritesCommentKeyStartValueAndEmptyLine) {
  const Form form = WithServices(
      {"Клиент DHCP   *Dhcp", "Звезда * в имени -=-*Svc*Real", "без звезды", "ab*Short"},
      {cbChecked, cbGrayed, cbUnchecked, cbChecked});
  const auto lines = Lines(BuildHklmScript(form));
  const auto section = Section(lines, kTitle);
  const std::vector<std::string> expected = {
      "; Клиент DHCP",
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Dhcp]",
      "\"Start\"=dword:00000002",
      "",
      // Cut at the last "*": the three characters before it never appear.
      "; Звезда * в имени -=-*",
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Real]",
      "\"Start\"=dword:00000003",
      "",
      "; ",
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\без звезды]",
      "\"Start\"=dword:00000004",
      "",
      // A display text shorter than its separator leaves the comment empty.
      "; ",
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Short]",
      "\"Start\"=dword:00000002",
      "",
  };
  EXPECT_EQ(section, expected);
  // The section's own header has a legend line and closes the file.
  const std::string separator = ";" + std::string(79, '-');
  const auto header = std::find(lines.begin(), lines.end(), "; СЕРВИСЫ И СЛУЖБЫ");
  ASSERT_NE(header, lines.end());
  EXPECT_EQ(*(header - 1), separator);
  EXPECT_EQ(*(header + 1), "; 00000002 - Авто; 00000003 - Вручную; 00000004 - Отключить;");
  EXPECT_EQ(*(header + 2), separator);
  EXPECT_EQ(*(header + 3), "");
  EXPECT_EQ(lines.size() - static_cast<std::size_t>(header + 4 - lines.begin()), expected.size());
}

TEST(ServicesPresets, OptimalStandardAndBackAgain) {
  Form form = BuiltInForm();
  const int preset = OptionIndex("srCheckBox_1_1");
  ASSERT_EQ(form.services.items.size(), static_cast<std::size_t>(kServiceCount));

  form.SetState(preset, cbUnchecked);
  EXPECT_TRUE(form.services.enabled);
  EXPECT_EQ(Cp1251ToUtf8(form.Option(preset).caption), "Оптимальная");
  int counts[3] = {0, 0, 0};
  for (TriState s : form.services.states) ++counts[s];
  EXPECT_EQ(counts[cbChecked], 19);
  EXPECT_EQ(counts[cbGrayed], 26);
  EXPECT_EQ(counts[cbUnchecked], 34);
  EXPECT_EQ(form.services.states[49], cbUnchecked);
  const auto section = Section(Lines(BuildHklmScript(form)), kTitle);
  EXPECT_EQ(section.size(), 4u * kServiceCount);
  EXPECT_EQ(std::count(section.begin(), section.end(), "\"Start\"=dword:00000002"), 19);
  EXPECT_EQ(std::count(section.begin(), section.end(), "\"Start\"=dword:00000003"), 26);
  EXPECT_EQ(std::count(section.begin(), section.end(), "\"Start\"=dword:00000004"), 34);

  // Standard keeps the item states but writes no services section at all.
  form.services.states[0] = cbGrayed;
  form.SetState(preset, cbGrayed);
  EXPECT_FALSE(form.services.enabled);
  EXPECT_EQ(form.services.states[0], cbGrayed);
  EXPECT_EQ(Cp1251ToUtf8(form.Option(preset).caption), "Стандартная конфигурация");
  const std::string hklm = BuildHklmScript(form).Bytes();
  EXPECT_EQ(hklm.find(Utf8ToCp1251(kTitle)), std::string::npos);
  EXPECT_EQ(hklm.find("\"Start\"="), std::string::npos);

  // Optimal again overwrites every item.
  form.SetState(preset, cbUnchecked);
  EXPECT_EQ(form.services.states[0], OptimalServiceStates()[0]);
}

}  // namespace
}  // namespace kwetro
