// The per-user Explorer options: the key groups, the taskbar streams and the
// context-menu handlers. (With every option grayed they write nothing; the
// visual-effect tests pin the whole section for that case.)
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

const char kStreamsKey[] =
    R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Streams\Desktop])";

Form Grayed() {
  Form form = AllOptions(cbGrayed);
  form.combos[kFontSmoothingCombo].itemIndex = 1;
  form.combos[kFontSmoothingCombo].hint = Utf8ToCp1251("Сглаживание шрифтов");
  return form;
}

Strings ExplorerSection(const Form& form) {
  return Section(Lines(BuildHkcuScript(form)), "ПРОВОДНИК");
}

TEST(HkcuExplorer, AdvancedGroupWritesEveryStartMenuItemOnceAnyMemberIsSet) {
  Form form = Grayed();
  Set(form, "pCheckBox_3_5", cbChecked);
  // Grayed two-caption items (icon size, printers, network places) stay out;
  // the three-valued items write "shown as a menu".
  EXPECT_TRUE(ContainsRun(
      ExplorerSection(form),
      {
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced])",
          "; Показывать скрытые файлы и папки - (Да)",
          R"("Hidden"=dword:00000001)",
          "; \"Администрирование\" - отображать как меню",
          R"("Start_AdminToolsRoot"=dword:00000002)",
          "; \"Мой компьютер\" - отображать как меню",
          R"("Start_ShowMyComputer"=dword:00000002)",
          "; \"Моя музыка\" - отображать как меню",
          R"("Start_ShowMyMusic"=dword:00000002)",
          "; \"Мои рисунки\" - отображать как меню",
          R"("Start_ShowMyPics"=dword:00000002)",
          "; \"Мои документы\" - отображать как меню",
          R"("Start_ShowMyDocs"=dword:00000002)",
          "; \"Избранное\" - отображать как меню",
          R"("StartMenuFavorites"=dword:00000002)",
          "; \"Недавние документы\" - отображать как меню",
          R"("Start_ShowRecentDocs"=dword:00000002)",
          "; \"Панель управления\" - отображать как меню",
          R"("Start_ShowControlPanel"=dword:00000002)",
          "; \"Сетевые подключения\" - отображать как меню",
          R"("Start_ShowNetConn"=dword:00000002)",
          "",
      }));
}

TEST(HkcuExplorer, UncheckedTaskbarStreamHasNoCommentLine) {
  Form form = Grayed();
  Set(form, "pCheckBox_1_3", cbUnchecked);
  EXPECT_TRUE(ContainsRun(
      ExplorerSection(form),
      {
          kStreamsKey,
          R"("TaskbarWinXP"=hex:0c,00,00,00,08,00,00,00,02,00,00,00,00,00,00,00,aa,4f,28,68,\)",
          R"(48,6a,d0,11,8c,78,00,c0,4f,d9,18,b4,20,02,00,00,60,0d,00,00,00,00,00,00,1e,\)",
          R"(00,00,00,00,00,00,00,00,00,00,00,1e,00,00,00,00,00,00,00,01,00,00,00,01,00,\)",
          R"(00,00,8b,8a,0d,54,3f,1c,32,4e,81,32,53,0f,6a,50,20,90,1d,00,00,00,60,05,00,\)",
          R"(00,00,00,00,00,1c,00,00,00,00,00,00,00,00,00,00,00,1c,00,00,00,00,00,00,00,\)",
          R"(01,00,00,00)",
          R"("Toolbars"=hex:11,00,00,00,00,00,00,00)",
          "",
      }));

  // Grayed writes neither stream.
  Set(form, "pCheckBox_1_3", cbGrayed);
  for (const std::string& line : ExplorerSection(form)) EXPECT_NE(line, kStreamsKey);
}

TEST(HkcuExplorer, UncheckedContextMenuHandlersAreDeletedBeforeTheComment) {
  Form form = Grayed();
  Set(form, "pCheckBox_2_1", cbUnchecked);
  Set(form, "pCheckBox_2_2", cbUnchecked);
  EXPECT_TRUE(ContainsRun(
      ExplorerSection(form),
      {
          R"([-HKEY_CLASSES_ROOT\AllFilesystemObjects\shellex\ContextMenuHandlers\Copy To])",
          R"([-HKEY_CLASSES_ROOT\AllFilesystemObjects\shellex\ContextMenuHandlers\Move To])",
          "; Добавить в контекстное меню пункты \"Копировать\" и \"Переместить\" - (Нет) ",
          "",
          R"([-HKEY_CLASSES_ROOT\AllFilesystemObjects\shellex\ContextMenuHandlers\Send To])",
          "; Добавить в контекстное меню пункт \"Отправить\" - (Нет)",
          "",
      }));

  Set(form, "pCheckBox_2_1", cbGrayed);
  Set(form, "pCheckBox_2_2", cbGrayed);
  for (const std::string& line : ExplorerSection(form))
    EXPECT_EQ(line.find("ContextMenuHandlers"), std::string::npos) << line;
}

TEST(HkcuExplorer, SmallGroupsHoldOnlyTheirSetMembers) {
  Form form = Grayed();
  Set(form, "pCheckBox_2_9", cbChecked);
  Set(form, "pCheckBox_1_9", cbUnchecked);
  const Strings lines = ExplorerSection(form);
  EXPECT_TRUE(ContainsRun(
      lines, {R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer])",
              "; Скрывать иконки в трее - (Да)", R"("EnableAutoTray"=dword:00000001)", ""}));
  EXPECT_TRUE(ContainsRun(
      lines, {R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer])",
              "; Отключить автозапись состояния окон \"Проводника\" - (Нет)",
              R"("NoSaveSettings"=-)", ""}));
}

}  // namespace
}  // namespace kwetro
