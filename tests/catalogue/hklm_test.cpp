// The machine-wide catalogue as hklm.reg writes it: the system and Explorer
// sections, block by block.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/script_lines.h"

namespace kwetro::testing {
namespace {

using Text = std::vector<std::string>;

const char kSystem[] = "СИСТЕМА";
const char kExplorer[] = "ПРОВОДНИК";

// The lines of a block of expected text: every line ends with a line feed,
// and the line feed right after the opening delimiter is not part of it.
Text Split(std::string_view text) {
  if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  Text lines;
  for (std::size_t end; (end = text.find('\n')) != std::string_view::npos;) {
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The hints are set here because the window description may change them;
// the script copies whatever the hint says.
void SetCombos(Form& form, int index) {
  const std::pair<ComboId, const char*> hints[] = {{kAutoUpdateCombo, "Обновления"},
                                                   {kAutorunCombo, "Автозапуск"},
                                                   {kPrefetchCombo, "Предвыборка"},
                                                   {kErrorReportCombo, "Отчеты об ошибках"}};
  for (const auto& [combo, hint] : hints) {
    form.combos[combo].itemIndex = index;
    form.combos[combo].hint = Utf8ToCp1251(hint);
  }
}

Form FormWith(TriState state, int comboIndex) {
  Form form = AllOptions(state);
  SetCombos(form, comboIndex);
  form.spinners[kKillServiceSpinner].value = 20;
  return form;
}

Text SectionOf(const Form& form, const char* title) {
  return Section(Lines(BuildHklmScript(form)), title);
}

long Count(const Text& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

// Every check box grayed and nothing chosen in the lists: only the fixed
// blocks remain, each list block without a value line, and autorun without
// its Cdrom key; the recycle bin writes its standard size.
TEST(HklmSystem, AllGrayedLeavesOnlyTheFixedBlocks) {
  EXPECT_EQ(SectionOf(FormWith(cbGrayed, -1), kSystem), Split(R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control]
; Завершать зависший сервис через (сек)
"WaitToKillServiceTimeout"="20000"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\WindowsUpdate\Auto Update]
; Обновления

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer]
; Автозапуск

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management\PrefetchParameters]
; Предвыборка

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\PCHealth\ErrorReporting]
; Отчеты об ошибках

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\BitBucket]
; Стандартный объем корзины - (10% от доступного на диске)
"Percent"=dword:0000000a

)golden"));
}

// The unchecked states of the rows that are more than one key and a few
// values.
TEST(HklmSystem, UncheckedIrregularRows) {
  const Text lines = SectionOf(FormWith(cbUnchecked, -1), kSystem);
  // Unchecked restores the standard setting: 16-bit programs share one process.
  EXPECT_TRUE(ContainsRun(lines, Split(R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\WOW]
; Запускать 16-битные программы в отдельных процессах - (Нет)
"DefaultSeparateVDM"="no"

)golden")));
  EXPECT_TRUE(ContainsRun(lines, Split(R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\FontMapper]
; Подстановка шрифтов для правильного отображения кириллицы - (Нет)
"ARIAL"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
; Подстановка шрифтов для правильного отображения кириллицы - (Нет)
"Arial,0"=-
"Comic Sans MS,0"=-
"Courier,204"=-
"Franklin Gothic"=-
"Segoe UI,0"=-
"System,0"="System,204"
"Tahoma,0"=-
"Times New Roman,0"=-
"Verdana,0"=-

)golden")));
  EXPECT_TRUE(ContainsRun(lines, Split(R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\RemoteComputer\NameSpace\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}]
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\RemoteComputer\NameSpace\{2227A280-3AEA-1069-A2DE-08002B30309D}]
; Ускорить работу с сетевыми дисками - (Нет)

)golden")));
  EXPECT_TRUE(ContainsRun(lines, Split(R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\i8042prt\Parameters]
; Принудительный вызов "Синего экрана смерти" - (Нет)
"CrashOnCtrlScroll"=dword:00000000

)golden")));
  EXPECT_TRUE(ContainsRun(lines, Split(R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\SubSystems]
; Отключить не используемую подсистемы POSIX - (Нет)
"Optional"="Posix"
"Posix"="%SystemRoot%\system32\psxss.exe"

)golden")));
  EXPECT_TRUE(ContainsRun(lines, Split(R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\BitBucket]
; Корзина использует минимум - (3% от доступного на диске)
"Percent"=dword:00000003

)golden")));
  // The section's last block: the hibernate button's two keys go again.
  EXPECT_EQ(Text(lines.end() - 4, lines.end()), Split(R"golden(
[-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced\System]
[-HKEY_LOCAL_MACHINE\SOFTWARE\Policies\Microsoft\Windows\System\Shutdown]
; Кнопка "Спящий режим" в диалог выхода - (Нет)

)golden"));
}

TEST(HklmSystem, LsaGroupWritesTheNoRestrictionLevelOnlyBesideItsPartner) {
  const std::string lsa = R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Lsa])";
  Form form = FormWith(cbGrayed, -1);
  EXPECT_EQ(Count(SectionOf(form, kSystem), lsa), 0);

  Set(form, "sCheckBox_3_7", cbChecked);
  EXPECT_TRUE(ContainsRun(SectionOf(form, kSystem), Split(R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Lsa]
; Ограничение анонимного доступа - (Нет)
"RestrictAnonymous"=dword:00000000
; Отключить простой общий доступ к файлам - (Да)
"forceguest"=dword:00000000

)golden")));

  Set(form, "sCheckBox_3_7", cbGrayed);
  Set(form, "sCheckBox_1_5", cbUnchecked);
  EXPECT_TRUE(ContainsRun(SectionOf(form, kSystem), Split(R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Lsa]
; Ограничение анонимного доступа - (Доступ к файлам)
"RestrictAnonymous"=dword:00000001

)golden")));
}

TEST(HklmSystem, KeyGroupWritesItsKeyOnceWithOnlyTheMembersNotGrayed) {
  Form form = FormWith(cbGrayed, -1);
  Set(form, "sCheckBox_4_2", cbUnchecked);
  Set(form, "sCheckBox_4_4", cbChecked);
  const Text lines = SectionOf(form, kSystem);
  EXPECT_EQ(Count(lines, R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\CrashControl])"),
            1);
  EXPECT_TRUE(ContainsRun(lines, Split(R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\CrashControl]
; Записать событие в системный журнал - (Нет)
"LogEvent"=dword:00000000
; Отправить административное оповещение - (Да)
"SendAlert"=dword:00000001

)golden")));
}

// Removing the AVI property handler is one way: unchecked is the same as
// grayed, not even a comment line.
TEST(HklmSystem, AviHandlerDeletionIsWrittenOnlyWhenChecked) {
  Form form = FormWith(cbGrayed, -1);
  const Text grayed = SectionOf(form, kSystem);
  Set(form, "sCheckBox_3_10", cbUnchecked);
  EXPECT_EQ(SectionOf(form, kSystem), grayed);
  Set(form, "sCheckBox_3_10", cbChecked);
  EXPECT_TRUE(ContainsRun(SectionOf(form, kSystem), Split(R"golden(
[-HKEY_CLASSES_ROOT\CLSID\{87D62D94-71B3-4b9a-9489-5FE6850DC73E}]
[-HKEY_CLASSES_ROOT\SystemFileAssociations\.avi\shellex\PropertyHandler]
[-HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{87D62D94-71B3-4b9a-9489-5FE6850DC73E}\InProcServer32]
; Ускорение доступа к AVI-файлам - (Да)

)golden")));
}

// Index -1 is in the all-grayed test; an index
// the block does not list writes no value line.
TEST(HklmSystem, ComboIndexPicksTheValueLines) {
  struct Case {
    ComboId combo;
    int index;
    const char* block;
  };
  const Case cases[] = {
      {kAutoUpdateCombo, 1, R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\WindowsUpdate\Auto Update]
; Обновления
"AUOptions"=dword:00000002
"AUState"=dword:00000002

)golden"},
      {kAutoUpdateCombo, 2, R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\WindowsUpdate\Auto Update]
; Обновления
"AUOptions"=dword:00000003
"AUState"=dword:00000002

)golden"},
      {kAutoUpdateCombo, 3, R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\WindowsUpdate\Auto Update]
; Обновления
"AUOptions"=dword:00000001
"AUState"=dword:00000007

)golden"},
      {kAutoUpdateCombo, 4, R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\WindowsUpdate\Auto Update]
; Обновления

)golden"},
      {kAutorunCombo, 1, R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer]
; Автозапуск
"NoDriveTypeAutoRun"=dword:000000dd

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Cdrom]
; Определение смены носителя
"AutoRun"=dword:00000001

)golden"},
      {kAutorunCombo, 2, R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer]
; Автозапуск
"NoDriveTypeAutoRun"=dword:000000ff

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Cdrom]
; Определение смены носителя
"AutoRun"=dword:00000000

)golden"},
      {kAutorunCombo, 3, R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer]
; Автозапуск

)golden"},
      {kPrefetchCombo, 1, R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management\PrefetchParameters]
; Предвыборка
"EnablePrefetcher"=dword:00000001

)golden"},
      {kPrefetchCombo, 2, R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management\PrefetchParameters]
; Предвыборка
"EnablePrefetcher"=dword:00000002

)golden"},
      {kPrefetchCombo, 3, R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management\PrefetchParameters]
; Предвыборка
"EnablePrefetcher"=dword:00000003

)golden"},
      {kPrefetchCombo, 4, R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management\PrefetchParameters]
; Предвыборка

)golden"},
      {kErrorReportCombo, 1, R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\PCHealth\ErrorReporting]
; Отчеты об ошибках
"ShowUI"=dword:00000001

)golden"},
      {kErrorReportCombo, 2, R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\PCHealth\ErrorReporting]
; Отчеты об ошибках
"ShowUI"=dword:00000000

)golden"},
      {kErrorReportCombo, 3, R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\PCHealth\ErrorReporting]
; Отчеты об ошибках

)golden"},
  };
  for (const Case& c : cases) {
    Form form = FormWith(cbGrayed, -1);
    form.combos[c.combo].itemIndex = c.index;
    const Text lines = SectionOf(form, kSystem);
    EXPECT_TRUE(ContainsRun(lines, Split(c.block))) << ComboNames()[c.combo] << " " << c.index;
    if (c.combo == kAutorunCombo && c.index == 3) {
      EXPECT_EQ(Count(lines, R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Cdrom])"), 0);
    }
  }
}

// Whether reports are sent shares the error-reporting block, after the
// list's value, even when the list has nothing chosen.
TEST(HklmSystem, ErrorReportingCheckBoxFollowsTheListInOneBlock) {
  Form form = FormWith(cbGrayed, -1);
  Set(form, "sCheckBox_4_7", cbUnchecked);
  EXPECT_TRUE(ContainsRun(SectionOf(form, kSystem), Split(R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\PCHealth\ErrorReporting]
; Отчеты об ошибках
; Отсылать в Microsoft отчеты об ошибках - (Нет)
"DoReport"=dword:00000000

)golden")));
}

TEST(HklmSystem, SpinnerSecondsAreWrittenAsPlainMilliseconds) {
  Form form = FormWith(cbGrayed, -1);
  for (const auto& [seconds, line] :
       {std::pair<int, const char*>{0, R"("WaitToKillServiceTimeout"="0")"},
        {1, R"("WaitToKillServiceTimeout"="1000")"},
        {3600, R"("WaitToKillServiceTimeout"="3600000")"}}) {
    form.spinners[kKillServiceSpinner].value = seconds;
    EXPECT_EQ(SectionOf(form, kSystem).at(2), line);
  }
}

// The driver-search captions end in a blank, and the comment keeps it.
TEST(HklmSystem, CaptionTrailingBlankReachesTheCommentLine) {
  for (const auto& [state, comment] :
       {std::pair<TriState, const char*>{cbChecked,
                                         "; Запретить искать драйвера на Windows Update - (Да) "},
        {cbUnchecked, "; Запретить искать драйвера на Windows Update - (Нет) "}}) {
    Form form = FormWith(cbGrayed, -1);
    Set(form, "sCheckBox_5_2", state);
    EXPECT_EQ(Count(SectionOf(form, kSystem), comment), 1) << comment;
  }
}

TEST(HklmExplorer, AllGrayedIsTheSectionHeaderAlone) {
  Form form = FormWith(cbGrayed, 0);
  form.services.enabled = false;
  const Text lines = Lines(BuildHklmScript(form));
  EXPECT_EQ(Text(lines.end() - 4, lines.end()),
            Text({";" + std::string(79, '-'), std::string("; ") + kExplorer, ";" + std::string(79, '-'), ""}));
}

// Both Winlogon blocks stay: the system one for the logon options, the
// Explorer one for restarting the shell.
TEST(HklmExplorer, WinlogonKeyStandsInBothSections) {
  const Form form = FormWith(cbChecked, 0);
  EXPECT_EQ(Count(Lines(BuildHklmScript(form)),
                  R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon])"),
            2);
}

}  // namespace
}  // namespace kwetro::testing
