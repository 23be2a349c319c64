// The browser section: two groups on the same Main key, the cache limit under
// two keys and the removal-only block.
#include <gtest/gtest.h>

#include "support/script_lines.h"

namespace kwetro {
namespace {

using kwetro::testing::AllOptions;
using kwetro::testing::Lines;
using kwetro::testing::Section;
using kwetro::testing::Set;
using Strings = std::vector<std::string>;

const char kMainKey[] = R"([HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Main])";

Strings BrowserSection(const Form& form) {
  return Section(Lines(BuildHkcuScript(form)), "НАСТРОЙКИ IE");
}

TEST(HkcuInternetExplorer, AllGrayedEndsTheScriptWithTheHeader) {
  const Strings lines = Lines(BuildHkcuScript(AllOptions(cbGrayed)));
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(Strings(lines.end() - 3, lines.end()),
            (Strings{"; НАСТРОЙКИ IE", ";" + std::string(79, '-'), ""}));
}

TEST(HkcuInternetExplorer, MainKeyStandsOncePerWrittenGroup) {
  Form form = AllOptions(cbGrayed);
  Set(form, "iCheckBox_2_13", cbUnchecked);
  Set(form, "iCheckBox_2_10", cbChecked);
  const Strings secondGroup = {
      kMainKey,
      "; Увеличить число одновременных закачек в IE до 10 (по умолчанию 2) - (Нет)",
      R"("MaxConnectionsPerServer"=-)",
      "; Отключить уведомление о начале просмотра через безопасное соединение - (Да)",
      R"("WarnOnZoneCrossing"=dword:00000000)",
      "",
  };
  EXPECT_EQ(BrowserSection(form), secondGroup);

  Set(form, "iCheckBox_2_6", cbUnchecked);
  Set(form, "iCheckBox_2_4", cbChecked);
  Strings expected = {
      kMainKey,
      "; Отключить отправку отчетов об ошибках IE - (Нет)",
      R"("IEWatsonDisabled"=-)",
      "",
      R"([HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_LOCALMACHINE_LOCKDOWN])",
      "; Выключить блокировку зоны безопасности локального компьютера в IE - (Да)",
      R"("iexplore.exe"=dword:00000000)",
      "",
  };
  expected.insert(expected.end(), secondGroup.begin(), secondGroup.end());
  EXPECT_EQ(BrowserSection(form), expected);
}

TEST(HkcuInternetExplorer, CacheLimitGoesUnderBothKeys) {
  Form form = AllOptions(cbGrayed);
  Set(form, "iCheckBox_2_14", cbUnchecked);
  const std::string comment = "; Уменьшить кэш IE до 10 MB - (Нет)";
  EXPECT_EQ(
      BrowserSection(form),
      (Strings{
          R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\5.0\Cache\Content])",
          comment, R"("CacheLimit"=dword:0009c458)", "",
          R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Cache\Content])",
          comment, R"("CacheLimit"=dword:0009c458)", ""}));
}

TEST(HkcuInternetExplorer, SpywareClassIsOnlyEverDeleted) {
  Form form = AllOptions(cbGrayed);
  Set(form, "iCheckBox_2_15", cbUnchecked);
  EXPECT_TRUE(BrowserSection(form).empty());
  Set(form, "iCheckBox_2_15", cbChecked);
  EXPECT_EQ(BrowserSection(form),
            (Strings{R"([-HKEY_CLASSES_ROOT\CLSID\{85BBD920-42A0-1069-A2E4-08002B30309D}])",
                     "; Удаление Alexa Spyware - (Да)", ""}));
}

}  // namespace
}  // namespace kwetro
