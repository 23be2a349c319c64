// The visual-effect stretch of the per-user Explorer section: the two font
// smoothing blocks that are always written, and options written in two places.
#include <gtest/gtest.h>

#include "support/script_lines.h"

namespace kwetro {
namespace {

using kwetro::testing::AllOptions;
using kwetro::testing::ContainsRun;
using kwetro::testing::Lines;
using kwetro::testing::Section;
using kwetro::testing::Set;
using Strings = std::vector<std::string>;

const char kDesktopKey[] = R"([HKEY_CURRENT_USER\Control Panel\Desktop])";
const char kFontSmoothingKey[] =
    R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\FontSmoothing])";

Form Grayed(int smoothing) {
  Form form = AllOptions(cbGrayed);
  form.combos[kFontSmoothingCombo].itemIndex = smoothing;
  form.combos[kFontSmoothingCombo].hint = Utf8ToCp1251("Сглаживание шрифтов");
  return form;
}

Strings ExplorerSection(const Form& form) {
  return Section(Lines(BuildHkcuScript(form)), "ПРОВОДНИК");
}

TEST(HkcuVisualEffects, AllGrayedWritesOnlyTheFontSmoothingBlocks) {
  EXPECT_EQ(ExplorerSection(Grayed(1)),
            (Strings{kDesktopKey, "; Сглаживание шрифтов", R"("FontSmoothing"="2")",
                     R"("FontSmoothingType"=dword:00000001)", "", kFontSmoothingKey,
                     "; Сглаживание шрифтов", R"("DefaultApplied"=dword:00000001)",
                     R"("DefaultValue"=-)", R"("DefaultByAlphaTest"=-)", ""}));
  for (int none : {-1, 3}) {
    EXPECT_EQ(ExplorerSection(Grayed(none)),
              (Strings{kDesktopKey, "; Сглаживание шрифтов", "", kFontSmoothingKey,
                       "; Сглаживание шрифтов", ""}))
        << "index " << none;
  }
}

TEST(HkcuVisualEffects, EachSmoothingChoiceWritesItsOwnLines) {
  Strings lines = ExplorerSection(Grayed(0));
  EXPECT_TRUE(ContainsRun(lines, {"; Сглаживание шрифтов", R"("FontSmoothing"="0")",
                                  R"("FontSmoothingType"=dword:00000000)", ""}));
  EXPECT_TRUE(ContainsRun(
      lines, {kFontSmoothingKey, "; Сглаживание шрифтов", R"("DefaultApplied"=dword:00000001)",
              R"("DefaultValue"=dword:00000001)", R"("DefaultByAlphaTest"=dword:00000001)", ""}));
  lines = ExplorerSection(Grayed(2));
  EXPECT_TRUE(
      ContainsRun(lines, {R"("FontSmoothing"="2")", R"("FontSmoothingType"=dword:00000002)"}));
  EXPECT_TRUE(ContainsRun(lines, {kFontSmoothingKey, "; Сглаживание шрифтов",
                                  R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)"}));
}

TEST(HkcuVisualEffects, MenuMaskHasATightCommentItsEffectKeyAnOrdinaryOne) {
  Form form = Grayed(1);
  Set(form, "pCheckBox_5_10", cbChecked);
  const std::string caption =
      "Отключить эффекты затухания или скольжения при обращении к меню - (Да)";
  const Strings lines = ExplorerSection(form);
  EXPECT_TRUE(ContainsRun(lines, {R"("FontSmoothingType"=dword:00000001)", ";" + caption,
                                  R"("UserPreferencesMask"=hex:90,12,01,80)", ""}));
  EXPECT_TRUE(ContainsRun(
      lines,
      {R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\MenuAnimation])",
       "; " + caption, R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
       R"("DefaultByAlphaTest"=dword:00000000)", ""}));

  Set(form, "pCheckBox_5_10", cbUnchecked);
  EXPECT_TRUE(
      ContainsRun(ExplorerSection(form),
                  {";Отключить эффекты затухания или скольжения при обращении к меню - (Нет)",
                   R"("UserPreferencesMask"=hex:9e,3e,07,80)"}));
}

TEST(HkcuVisualEffects, OptionsWrittenTwiceFollowOneState) {
  Form form = Grayed(1);
  Set(form, "pCheckBox_5_1", cbUnchecked);
  Set(form, "pCheckBox_5_12", cbChecked);
  const Strings lines = ExplorerSection(form);
  const std::string minAnimate =
      "; Отключение анимации окон при свертывании и развертывании - (Нет)";
  EXPECT_TRUE(ContainsRun(
      lines,
      {R"([HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics])", minAnimate,
       R"("MinAnimate"="1")", "",
       R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\AnimateMinMax])",
       minAnimate, R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)", ""}));
  const std::string taskbar = "; Отключение скольжения кнопок панели задач - (Да)";
  EXPECT_TRUE(ContainsRun(lines, {taskbar, R"("TaskbarAnimations"=dword:00000000)"}));
  EXPECT_TRUE(ContainsRun(
      lines, {taskbar, R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
              R"("DefaultByAlphaTest"=dword:00000000)"}));
}

}  // namespace
}  // namespace kwetro
