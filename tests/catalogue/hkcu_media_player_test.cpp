// The media player section: one standard block and two key groups.
#include <gtest/gtest.h>

#include "support/script_lines.h"

namespace kwetro {
namespace {

using kwetro::testing::AllOptions;
using kwetro::testing::Lines;
using kwetro::testing::Section;
using kwetro::testing::Set;
using Strings = std::vector<std::string>;

Strings MediaPlayerSection(const Form& form) {
  return Section(Lines(BuildHkcuScript(form)), "МЕДИАПЛЕЕР");
}

TEST(HkcuMediaPlayer, AllGrayedLeavesTheHeaderAlone) {
  EXPECT_TRUE(MediaPlayerSection(AllOptions(cbGrayed)).empty());
}

TEST(HkcuMediaPlayer, PreferencesGroupWithOneMember) {
  Form form = AllOptions(cbGrayed);
  Set(form, "mCheckBox_1_12", cbChecked);
  EXPECT_EQ(
      MediaPlayerSection(form),
      (Strings{R"([HKEY_CURRENT_USER\Software\Microsoft\MediaPlayer\Preferences])",
               "; Первый запуск выполнен - (Да)", R"("AcceptedPrivacyStatement"=dword:00000001)",
               R"("AcceptedEULA"=dword:00000001)", R"("FirstTime"=dword:00000001)",
               R"("FirstRun"=dword:00000000)", ""}));

  form = AllOptions(cbGrayed);
  Set(form, "mCheckBox_1_2", cbUnchecked);
  Set(form, "mCheckBox_1_8", cbUnchecked);
  EXPECT_EQ(MediaPlayerSection(form),
            (Strings{R"([HKEY_CURRENT_USER\Software\Microsoft\MediaPlayer\Preferences])",
                     "; Выводить лицензионное соглашение Windows Media Player - (Нет)",
                     R"("SilentAcquisition"=dword:00000000)",
                     "; Отключить идентификацию Windows Media Player на интернет-сайтах - (Нет)",
                     R"("SendUserGUID"=dword:00000001)", ""}));
}

TEST(HkcuMediaPlayer, UncheckedQuickLaunchShortcutIsSwitchedOff) {
  Form form = AllOptions(cbGrayed);
  Set(form, "mCheckBox_1_6", cbUnchecked);
  EXPECT_EQ(MediaPlayerSection(form),
            (Strings{R"([HKEY_CURRENT_USER\Software\Microsoft\MediaPlayer\Setup\UserOptions])",
                     "; Создавать ярлык Windows Media Player на панели Быстрого запуска - (Нет)",
                     R"("QuickLaunchShortcut"="no")", ""}));

  Set(form, "mCheckBox_1_5", cbUnchecked);
  Set(form, "mCheckBox_1_6", cbChecked);
  EXPECT_EQ(MediaPlayerSection(form),
            (Strings{R"([HKEY_CURRENT_USER\Software\Microsoft\MediaPlayer\Setup\UserOptions])",
                     "; Создавать ярлык Windows Media Player на Рабочем столе - (Нет)",
                     R"("DesktopShortcut"="no")",
                     "; Создавать ярлык Windows Media Player на панели Быстрого запуска - (Да)",
                     R"("QuickLaunchShortcut"="Yes")", ""}));
}

}  // namespace
}  // namespace kwetro
