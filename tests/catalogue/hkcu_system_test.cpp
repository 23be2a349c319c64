// The per-user "; СИСТЕМА" section: always-written blocks, the desktop group
// with its timeouts, multi-key and checked-only options.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/script_lines.h"

namespace kwetro {
namespace {

using kwetro::testing::AllOptions;
using kwetro::testing::ContainsRun;
using kwetro::testing::Lines;
using kwetro::testing::Section;
using kwetro::testing::Set;
using Strings = std::vector<std::string>;

// Every option grayed; the layout list, its label and the spinners set here
// rather than taken from the window description.
Form Grayed() {
  Form form = AllOptions(cbGrayed);
  form.combos[kLayoutOrderCombo].itemIndex = 0;
  form.layoutOrderLabel = Utf8ToCp1251("Порядок раскладок");
  form.spinners[kHungAppSpinner].value = 2;
  form.spinners[kKillAppSpinner].value = 3;
  return form;
}

Strings SystemSection(const Form& form) { return Section(Lines(BuildHkcuScript(form)), "СИСТЕМА"); }

const Strings kLayoutOrderEnglishFirst = {
    R"([HKEY_CURRENT_USER\Keyboard Layout\Preload])",
    "; Порядок раскладок",
    R"("1"="00000409")",
    R"("2"="00000419")",
    "",
};

TEST(HkcuSystem, AllGrayedKeepsPowerSchemeLayoutSwitchAndLayoutOrder) {
  Strings expected = {
      R"([HKEY_CURRENT_USER\Control Panel\PowerCfg])",
      "; Включить схему питания - (Портативный)",
      R"("CurrentPowerPolicy"="1")",
      "",
      R"([HKEY_CURRENT_USER\Keyboard Layout\Toggle])",
      "; Использовать для переключения раскладки клавиатуры - (Отключить)",
      R"("Hotkey"="2")",
      R"("Language Hotkey"="2")",
      R"("Layout Hotkey"="3")",
      "",
  };
  expected.insert(expected.end(), kLayoutOrderEnglishFirst.begin(), kLayoutOrderEnglishFirst.end());
  EXPECT_EQ(SystemSection(Grayed()), expected);
}

TEST(HkcuSystem, LayoutOrderFollowsTheSelectionAndWritesNoValuesWithoutOne) {
  Form form = Grayed();
  EXPECT_TRUE(ContainsRun(SystemSection(form), kLayoutOrderEnglishFirst));

  form.combos[kLayoutOrderCombo].itemIndex = 1;
  EXPECT_TRUE(ContainsRun(SystemSection(form),
                          {R"([HKEY_CURRENT_USER\Keyboard Layout\Preload])", "; Порядок раскладок",
                           R"("1"="00000419")", R"("2"="00000409")", ""}));

  for (int index : {-1, 2, 7}) {
    form.combos[kLayoutOrderCombo].itemIndex = index;
    const Strings lines = SystemSection(form);
    EXPECT_TRUE(ContainsRun(
        lines, {R"([HKEY_CURRENT_USER\Keyboard Layout\Preload])", "; Порядок раскладок", ""}))
        << "index " << index;
    EXPECT_EQ(lines.back(), "") << "index " << index;
  }
}

TEST(HkcuSystem, DesktopGroupCarriesBothTimeoutsInMilliseconds) {
  const char* key = R"([HKEY_CURRENT_USER\Control Panel\Desktop])";
  const char* hungComment = "; Ожидать перед закрытием приложения  (сек)";
  const char* killComment = "; Завершать зависшее приложение через (сек)";
  Form form = Grayed();
  Set(form, "sCheckBox_4_6", cbChecked);
  const Strings checkedOnly = {key,
                               "; Автоматическое завершение зависших приложений - (Да)",
                               R"("AutoEndTasks"="1")",
                               hungComment,
                               R"("HungAppTimeout"="2000")",
                               killComment,
                               R"("WaitToKillAppTimeout"="3000")",
                               ""};
  EXPECT_TRUE(ContainsRun(SystemSection(form), checkedOnly));

  Set(form, "sCheckBox_4_6", cbGrayed);
  Set(form, "sCheckBox_5_9", cbUnchecked);
  form.spinners[kHungAppSpinner].value = 0;
  form.spinners[kKillAppSpinner].value = -7;
  const Strings uncheckedOnly = {key,
                                 "; Отключить экранную заставку - (Нет)",
                                 R"("ScreenSaveActive"="1")",
                                 hungComment,
                                 R"("HungAppTimeout"="0")",
                                 killComment,
                                 R"("WaitToKillAppTimeout"="-7000")",
                                 ""};
  EXPECT_TRUE(ContainsRun(SystemSection(form), uncheckedOnly));
}

TEST(HkcuSystem, DesktopGroupAndItsTimeoutsVanishWhenBothMembersAreGrayed) {
  Form form = Grayed();
  form.spinners[kHungAppSpinner].value = 30;
  for (const std::string& line : SystemSection(form)) {
    EXPECT_EQ(line.find("Control Panel\\Desktop"), std::string::npos);
    EXPECT_EQ(line.find("Timeout"), std::string::npos) << line;
  }
}

TEST(HkcuSystem, StickyKeysWriteThreeKeysEachWithItsComment) {
  Form form = Grayed();
  Set(form, "sCheckBox_6_9", cbChecked);
  const std::string comment = "; Убрать залипание клавиш - (Да)";
  EXPECT_TRUE(ContainsRun(
      SystemSection(form),
      {R"([HKEY_CURRENT_USER\Control Panel\Accessibility\Keyboard Response])", comment,
       R"("Flags"="122")", "", R"([HKEY_CURRENT_USER\Control Panel\Accessibility\StickyKeys])",
       comment, R"("Flags"="506")", "",
       R"([HKEY_CURRENT_USER\Control Panel\Accessibility\ToggleKeys])", comment, R"("Flags"="58")",
       ""}));

  Set(form, "sCheckBox_6_9", cbUnchecked);
  const Strings lines = SystemSection(form);
  EXPECT_TRUE(ContainsRun(lines, {"; Убрать залипание клавиш - (Нет)", R"("Flags"="126")"}));
  EXPECT_TRUE(ContainsRun(lines, {"; Убрать залипание клавиш - (Нет)", R"("Flags"="510")"}));
  EXPECT_TRUE(ContainsRun(lines, {"; Убрать залипание клавиш - (Нет)", R"("Flags"="62")"}));
}

TEST(HkcuSystem, PolicyGroupHoldsOnlyTheMembersThatAreNotGrayed) {
  Form form = Grayed();
  Set(form, "sCheckBox_2_10", cbUnchecked);
  EXPECT_TRUE(ContainsRun(
      SystemSection(form),
      {R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer])",
       "; Отключить слежение Windows XP за пользователями - (Нет)",
       R"("NoInstrumentation"=dword:00000000)", ""}));
}

TEST(HkcuSystem, RunListIsWrittenOnlyWhenChecked) {
  const char* key =
      R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU])";
  Form form = Grayed();
  for (TriState state : {cbUnchecked, cbGrayed}) {
    Set(form, "sCheckBox_6_5", state);
    const Strings lines = SystemSection(form);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), key), 0) << "state " << int{state};
  }
  Set(form, "sCheckBox_6_5", cbChecked);
  const Strings lines = SystemSection(form);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), key), 1);
}

}  // namespace
}  // namespace kwetro
