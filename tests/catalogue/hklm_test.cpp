// The machine-wide catalogue as hklm.reg writes it: the system and Explorer
// sections, block by block.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
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

// The first line that is none of the kinds a registry script may hold, or
// "" when all are well formed. Key lines must name a full root: the registry
// editor rejects short ones such as HKLM. Continuation lines of hex data
// follow a line ending in ",\" and carry no indentation.
std::string FirstMalformedLine(const Text& lines) {
  static const std::regex key(
      R"(\[-?(HKEY_LOCAL_MACHINE|HKEY_CLASSES_ROOT|HKEY_CURRENT_USER)\\[^\[\]]*[^\\\[\]]\])");
  static const std::regex value(
      R"(("(\\"|[^"])*"|@)=("(\\"|[^"])*"|-|dword:[0-9a-f]{8}|hex:[0-9a-f]{2}(,[0-9a-f]{2})*)"
      R"(|hex\(2\):([0-9a-f]{2},)*([0-9a-f]{2},\\|[0-9a-f]{2})))");
  static const std::regex continuation(R"(([0-9a-f]{2},)*([0-9a-f]{2},\\|[0-9a-f]{2}))");
  bool continued = false;
  for (const std::string& line : lines) {
    const bool ok = continued ? std::regex_match(line, continuation)
                              : line.empty() || line.rfind("; ", 0) == 0 ||
                                    std::regex_match(line, key) || std::regex_match(line, value);
    if (!ok) return line;
    continued = line.size() >= 2 && line.compare(line.size() - 2, 2, ",\\") == 0;
  }
  return continued ? "(hex data without its last line)" : "";
}

TEST(HklmScript, EveryLineOfBothSectionsIsWellFormedInEveryStateAndComboChoice) {
  for (TriState state : {cbChecked, cbUnchecked, cbGrayed}) {
    for (int index : {-1, 0, 1, 2, 3}) {
      const Text lines = Lines(BuildHklmScript(FormWith(state, index)));
      for (const char* title : {kSystem, kExplorer}) {
        const Text section = Section(lines, title);
        EXPECT_EQ(FirstMalformedLine(section), "")
            << title << ", state " << state << ", combo index " << index;
        EXPECT_TRUE(section.empty() || section.back().empty()) << "a block is left open";
      }
    }
  }
}

TEST(HklmScript, ValidatorRejectsWhatTheRegistryEditorWouldNot) {
  EXPECT_NE(FirstMalformedLine({R"([HKLM\SYSTEM\CurrentControlSet])"}), "");
  EXPECT_NE(FirstMalformedLine({R"("Auto"=dword:1)"}), "");
  EXPECT_NE(FirstMalformedLine({R"("Auto"=dword:0000000A)"}), "");
  EXPECT_NE(FirstMalformedLine({R"("29"=hex(2):25,00,\)", "  25,00"}), "");
  EXPECT_EQ(FirstMalformedLine({R"("29"=hex(2):25,00,\)", "25,00", "", "; x"}), "");
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

TEST(HklmSystem, AllCheckedSectionHoldsEveryRowInOrder) {
  EXPECT_EQ(SectionOf(FormWith(cbChecked, 0), kSystem), Split(R"golden(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control]
; Завершать зависший сервис через (сек)
"WaitToKillServiceTimeout"="20000"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\WOW]
; Запускать 16-битные программы в отдельных процессах - (Да)
"DefaultSeparateVDM"="yes"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Lsa]
; Ограничение анонимного доступа - (Полный)
"RestrictAnonymous"=dword:00000002
; Отключить простой общий доступ к файлам - (Да)
"forceguest"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\AeDebug]
; Отключить встроенный отладчик Dr. Watson - (Да)
"Auto"=dword:00000000

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management]
; Очистка файла подкачки перед перезагрузкой системы - (Да)
"ClearPageFileAtShutdown"=dword:00000001
; Оптимизировать работу системного кэша - (Да)
"LargeSystemCache"=dword:00000001
; Отключить файл подкачки для хранения ядра системы - (Да)
"DisablePagingExecutive"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\SystemRestore]
; Отключить восстановление системы - (Да)
"DisableSR"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\FontMapper]
; Подстановка шрифтов для правильного отображения кириллицы - (Да)
"ARIAL"=dword:000000cc

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
; Подстановка шрифтов для правильного отображения кириллицы - (Да)
"Arial,0"="Arial,204"
"Comic Sans MS,0"="Comic Sans MS,204"
"Courier,204"="Courier New,204"
"Franklin Gothic"="Arial"
"Segoe UI,0"="Segoe UI,204"
"System,0"="Arial,204"
"Tahoma,0"="Tahoma,204"
"Times New Roman,0"="Times New Roman,204"
"Verdana,0"="Verdana,204"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer]
; Автоматически выгружать неиспользуемые DLL - (Да)
"AlwaysUnloadDLL"=dword:00000001

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\FileSystem]
; Отключить запись последнего доступа к файлам (только для NTFS) - (Да)
"NtfsDisableLastAccessUpdate"=dword:00000001
; Отключить генерацию имен файлов в формате 8.3 (только для NTFS) - (Да)
"NtfsDisable8dot3NameCreation"=dword:00000001
; Увеличить место для главной файловой таблицы (только для NTFS) - (Да)
"NtfsMftZoneReservation"=dword:00000002
; Уменьшить фрагментируемость файлов - (Да)
"ContigFileAllocSize"=dword:000001f4

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\WindowsUpdate\Auto Update]
; Обновления
"AUOptions"=dword:00000004
"AUState"=-

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon]
; Быстрое переключение пользователей - (Да)
"AllowMultipleTSSessions"=dword:00000001
; Использовать страницу приветствия - (Да)
"LogonType"=dword:00000001
; Отключить защиту системных файлов (SFC) - (Да)
"SFCDisable"=dword:ffffff9d

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System]
; Показывать имя последнего пользователя - (Да)
"DontDisplayLastUserName"=dword:00000000
; Показывать информацию о выполняемых процессах во время загрузки - (Да)
"verbosestatus"=dword:00000001
; Отключить поиск в сети Интернет при открытии файла с неизвестными расширением - (Да)
"NoInternetOpenWith"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Applets\Tour]
; Отключить приглашение "Знакомство с Windows" - (Да)
"RunCount"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Security Center]
; Отключить уведомления "Центра обеспечения безопасности" - (Да)
"FirewallDisableNotify"=dword:00000001
"UpdatesDisableNotify"=dword:00000001
"AntiVirusDisableNotify"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Dfrg\BootOptimizeFunction]
; Оптимизировать системные файлы во время загрузки - (Да)
"Enable"="Y"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\lanmanserver\parameters]
; Отключить общие административные ресурсы - (Да)
"AutoShareWks"=dword:00000000
"AutoShareServer"=dword:00000000

[-HKEY_CLASSES_ROOT\CLSID\{87D62D94-71B3-4b9a-9489-5FE6850DC73E}]
[-HKEY_CLASSES_ROOT\SystemFileAssociations\.avi\shellex\PropertyHandler]
[-HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{87D62D94-71B3-4b9a-9489-5FE6850DC73E}\InProcServer32]
; Ускорение доступа к AVI-файлам - (Да)

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\PriorityControl]
; Увеличить приоритет CMOS памяти и часов реального времени - (Да)
"IRQ8Priority"=dword:00000001

[-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\RemoteComputer\NameSpace\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}]
[-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\RemoteComputer\NameSpace\{2227A280-3AEA-1069-A2DE-08002B30309D}]
; Ускорить работу с сетевыми дисками - (Да)

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer]
; Автозапуск
"NoDriveTypeAutoRun"=dword:00000091

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Cdrom]
; Определение смены носителя
"AutoRun"=dword:00000000

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management\PrefetchParameters]
; Предвыборка
"EnablePrefetcher"=dword:00000000

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\CrashControl]
; Автоматически перезагрузить компьютер при отказе - (Да)
"AutoReboot"=dword:00000001
; Записать событие в системный журнал - (Да)
"LogEvent"=dword:00000001
; Записать отладочную информацию (малый дамп ядра 64 Кб) - (Да)
"CrashDumpEnabled"=dword:00000001
; Отправить административное оповещение - (Да)
"SendAlert"=dword:00000001

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\i8042prt\Parameters]
; Принудительный вызов "Синего экрана смерти" - (Да)
"CrashOnCtrlScroll"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\PCHealth\ErrorReporting]
; Отчеты об ошибках
"ShowUI"=dword:00000002
; Отсылать в Microsoft отчеты об ошибках - (Да)
"DoReport"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Policies\Microsoft\MRT]
; Запретить MRT отправлять отчеты в Microsoft - (Да)
"DontReportInfectionInformation"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Policies\Microsoft\Windows\DriverSearching]
; Запретить искать драйвера на Windows Update - (Да) 
"DontSearchWindowsUpdate"=dword:00000001
"DontPromptForWindowsUpdate"=dword:00000001

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\I/O System]
; Отключить счетчик ввода-вывода - (Да)
"CountOperations"=dword:00000000

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\SubSystems]
; Отключить не используемую подсистемы POSIX - (Да)
"Optional"=-
"Posix"=-

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\FileSystem\CDFS]
; Ускорить работу оптического привода - (Да)
"Prefetch"=dword:00004000
"PrefetchTail"=dword:00004000
"CacheSize"=hex:ff,ff,00,00

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Terminal Server]
; Отключить удаленный рабочий стол - (Да)
"fDenyTSConnections"=dword:00000001
"fAllowToGetHelp"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\NVIDIA Corporation\Global\NVTweak]
; Включить дополнительные вкладки в свойствах видеокарт от NVidia - (Да)
"Coolbits"=dword:ffffffff
"NvCplEnableAGPSettingsPage"=dword:00000001
"NvCplEnableAdditionalInfoPage"=dword:00000001
"NvCplEnableClearViewPage"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\BitBucket]
; Корзина использует максимум - (50% от доступного на диске)
"Percent"=dword:00000032

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Environment]
; Отображать скрытые устройства - (Да)
"devmgr_show_nonpresent_devices"="1"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Nls\CodePage]
; Поддержка русской кодировки (кодовую страницу 1251 вместо ...1255) - (Да)
"1250"="c_1251.nls"
"1251"="c_1251.nls"
"1252"="c_1251.nls"
"1253"="c_1251.nls"
"1254"="c_1251.nls"
"1255"="c_1251.nls"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced\System]
; Кнопка "Спящий режим" в диалог выхода - (Да)
"Bitmap"="SHELL32.DLL,22"
"Text"="Системные параметры"
"Type"="group"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced\System\Hibernate]
; Кнопка "Спящий режим" в диалог выхода - (Да)
"RegPath"="SOFTWARE\Policies\Microsoft\Windows\System\Shutdown"
"Text"="Кнопка\"Спящий режим\" в диалоге выключения ПК"
"Type"="checkbox"
"ValueName"="ShowHibernateButton"
"CheckedValue"=dword:00000001
"UncheckedValue"=dword:00000000
"DefaultValue"=dword:00000001
"HKeyRoot"=dword:80000002

[HKEY_LOCAL_MACHINE\SOFTWARE\Policies\Microsoft\Windows\System\Shutdown]
; Кнопка "Спящий режим" в диалог выхода - (Да)
"ShowHibernateButton"=dword:00000001

)golden"));
}

// The states the all-checked text above does not show, for the rows that
// are more than one key and a few values.
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

// Index 0 is in the all-checked text, -1 in the all-grayed one; an index
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
            Text({";" + std::string(79, '-'), "; ПРОВОДНИК", ";" + std::string(79, '-'), ""}));
}

// Both Winlogon blocks stay: the system one for the logon options, the
// Explorer one for restarting the shell.
TEST(HklmExplorer, AllCheckedSectionHoldsEveryRowWithItsHexLinesVerbatim) {
  const Form form = FormWith(cbChecked, 0);
  EXPECT_EQ(SectionOf(form, kExplorer), Split(R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon]
; Автоматически перезапускать "Проводник" при ошибках - (Да)
"AutoRestartShell"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\HTMLHelp\1.x\ItssRestrictions]
; Корректное открытие CHM-файлов с сетевых дисков - (Да)
"MaxAllowedZone"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Icons]
; Удалить стрелки у ярлыков - (Да)
"29"=hex(2):25,00,73,00,79,00,73,00,74,00,65,00,6d,00,72,00,6f,00,6f,00,74,00,\
25,00,5c,00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,73,00,68,\
00,65,00,6c,00,6c,00,33,00,32,00,2e,00,64,00,6c,00,6c,00,2c,00,35,00,30,00,\
00,00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer]
; Ускорить перерисовку иконок - (Да)
"Max Cached Icons"="4096"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\4]
; Добавить в контекстное меню пункт "Панель управления" - (Да)
@="Панель управления"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\4\command]
; Добавить в контекстное меню пункт "Панель управления" - (Да)
@="rundll32.exe shell32.dll,Control_RunDLL"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\2]
; Добавить в контекстное меню пункт "Диспетчер устройств" - (Да)
@="Диспетчер устройств"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\2\command]
; Добавить в контекстное меню пункт "Диспетчер устройств" - (Да)
@=hex(2):25,00,77,00,69,00,6e,00,64,00,69,00,72,00,25,00,5c,\
00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,6d,00,6d,00,63,00,\
2e,00,65,00,78,00,65,00,20,00,2f,00,73,00,20,00,25,00,53,00,79,00,73,00,74,\
00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,00,5c,00,73,00,79,00,73,00,74,00,\
65,00,6d,00,33,00,32,00,5c,00,64,00,65,00,76,00,6d,00,67,00,6d,00,74,00,2e,\
00,6d,00,73,00,63,00,20,00,2f,00,73,00,00,00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\MyComputer\NameSpace\DelegateFolders\{59031a47-3f72-44a7-89c5-5595fe6b30ee}]
; Добавить "Общие документы" в "Мой компьютер" - (Да)
@=""

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced]
; Включить группировку сходных кнопок в "Панели задач" - (Да)
"TaskbarGlomming"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Desktop\NameSpace\DelegateFolders\{E211B736-43FD-11D1-9EFB-0000F8757FCD}]
; Поместить ярлык "Сканеры и камеры" на рабочий стол - (Да)
@="Сканеры и камеры"

[-HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Favorites]
[-HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu]
[-HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2]
; Сортировать меню "Пуск" и "Избранное" в алфавитном порядке - (Да)

)golden"));
  EXPECT_EQ(Count(Lines(BuildHklmScript(form)),
                  R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon])"),
            2);
}

TEST(HklmExplorer, AllUncheckedSectionHoldsEveryRowWithItsHexLinesVerbatim) {
  EXPECT_EQ(SectionOf(FormWith(cbUnchecked, 0), kExplorer), Split(R"golden(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon]
; Автоматически перезапускать "Проводник" при ошибках - (Нет)
"AutoRestartShell"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\HTMLHelp\1.x\ItssRestrictions]
; Корректное открытие CHM-файлов с сетевых дисков - (Нет)
"MaxAllowedZone"=-

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Icons]
; Удалить стрелки у ярлыков - (Нет)
"29"=hex(2):25,00,73,00,79,00,73,00,74,00,65,00,6d,00,72,00,6f,00,6f,00,74,00,\
25,00,5c,00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,73,00,68,\
00,65,00,6c,00,6c,00,33,00,32,00,2e,00,64,00,6c,00,6c,00,2c,00,32,00,30,00,\
00,00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer]
; Ускорить перерисовку иконок - (Нет)
"Max Cached Icons"="512"

[-HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\4]
; Добавить в контекстное меню пункт "Панель управления" - (Нет)

[-HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\2]
; Добавить в контекстное меню пункт "Диспетчер устройств" - (Нет)

[-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\MyComputer\NameSpace\DelegateFolders\{59031A47-3F72-44A7-89C5-5595FE6B30EE}]
; Добавить "Общие документы" в "Мой компьютер" - (Нет)

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced]
; Включить группировку сходных кнопок в "Панели задач" - (Нет)
"TaskbarGlomming"=-

[-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Desktop\NameSpace\DelegateFolders\{E211B736-43FD-11D1-9EFB-0000F8757FCD}]
; Поместить ярлык "Сканеры и камеры" на рабочий стол - (Нет)

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Favorites]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2]
; Сортировать меню "Пуск" и "Избранное" в алфавитном порядке - (Нет)

)golden"));
}

}  // namespace
}  // namespace kwetro::testing
