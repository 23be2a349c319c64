// The whole per-user script: its frame and section order, and one complete
// script with every option checked, written out by hand from the catalogue.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/script_lines.h"

namespace kwetro {
namespace {

using kwetro::testing::AllOptions;
using kwetro::testing::Lines;
using Strings = std::vector<std::string>;

Strings SplitLines(const std::string& text) {
  Strings lines;
  std::size_t pos = 0;
  for (std::size_t end; (end = text.find('\n', pos)) != std::string::npos; pos = end + 1)
    lines.push_back(text.substr(pos, end - pos));
  return lines;
}

TEST(HkcuScript, FrameAndSectionsInOrder) {
  const Strings lines = Lines(BuildHkcuScript(AllOptions(cbGrayed)));
  const std::string separator = ";" + std::string(79, '-');
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(
      Strings(lines.begin(), lines.begin() + 6),
      (Strings{"Windows Registry Editor Version 5.00", "", separator, "; СИСТЕМА", separator, ""}));
  Strings titles;
  for (std::size_t i = 1; i < lines.size(); ++i)
    if (lines[i - 1] == separator && lines[i].rfind("; ", 0) == 0) titles.push_back(lines[i]);
  EXPECT_EQ(titles, (Strings{"; СИСТЕМА", "; ПРОВОДНИК", "; МЕДИАПЛЕЕР", "; НАСТРОЙКИ IE"}));
}

// Layout order English first, font smoothing item 2, timeouts 5 and 20 seconds.
// The two comment lines of the copy/move handlers end in a blank, as their
// captions do.
const char kAllChecked[] = R"golden(
Windows Registry Editor Version 5.00

;-------------------------------------------------------------------------------
; СИСТЕМА
;-------------------------------------------------------------------------------

[HKEY_CURRENT_USER\Control Panel\PowerCfg]
; Включить схему питания - (Домашний/Настольный)
"CurrentPowerPolicy"="0"

[HKEY_CURRENT_USER\SOFTWARE\Policies\Microsoft\Windows\System\Power]
; Запрашивать пароль после выхода из "Ждущего режима" - (Да)
"PromptPasswordOnResume"=dword:00000001

[HKEY_CURRENT_USER\Keyboard Layout\Toggle]
; Использовать для переключения раскладки клавиатуры - (Ctrl+Shift)
"Hotkey"="2"
"Language Hotkey"="2"
"Layout Hotkey"="1"

[HKEY_CURRENT_USER\Keyboard Layout\Preload]
; Порядок раскладок клавиатуры
"1"="00000409"
"2"="00000419"

[HKEY_CURRENT_USER\Control Panel\Accessibility\Keyboard Response]
; Убрать залипание клавиш - (Да)
"Flags"="122"

[HKEY_CURRENT_USER\Control Panel\Accessibility\StickyKeys]
; Убрать залипание клавиш - (Да)
"Flags"="506"

[HKEY_CURRENT_USER\Control Panel\Accessibility\ToggleKeys]
; Убрать залипание клавиш - (Да)
"Flags"="58"

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer]
; Отключить проверку недостатка места на диске - (Да)
"NoLowDiskSpaceChecks"=dword:00000001
; Отключить слежение Windows XP за пользователями - (Да)
"NoInstrumentation"=dword:00000001

[HKEY_CURRENT_USER\Environment]
; Папка %WinDir%\Temp  - для всех пользователей - (Да)
"TEMP"=-
"TMP"=-

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon]
; Отключить обработку Autoexec.bat - (Да)
"ParseAutoexec"="0"

[HKEY_CURRENT_USER\.DEFAULT\Control Panel\Keyboard]
; Включить NumLock при загрузке - (Да)
"InitialKeyboardIndicators"=dword:00000002

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\UnreadMail]
; Отключить счетчик непрочитанных сообщений в экране приветствия - (Да)
"MessageExpiryDays"=dword:00000000

[HKEY_CURRENT_USER\Control Panel\Desktop]
; Автоматическое завершение зависших приложений - (Да)
"AutoEndTasks"="1"
; Отключить экранную заставку - (Да)
"ScreenSaveActive"="0"
; Ожидать перед закрытием приложения  (сек)
"HungAppTimeout"="5000"
; Завершать зависшее приложение через (сек)
"WaitToKillAppTimeout"="20000"

[HKEY_CURRENT_USER\Console]
; Быстрое редактирование в командной строке - (Да)
"QuickEdit"=dword:00000001

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU]
; Добавление необходимих команд в меню "Выполнить" - (Да)
"MRUList"="abcdefghij"
"a"="dxdiag\\1"
"b"="cmd\\1"
"c"="control admintools\\1"
"d"="control schedtasks\\1"
"e"="control userpasswords2\\1"
"f"="gpedit.msc\\1"
"g"="msconfig\\1"
"h"="ping\\1"
"i"="regedit\\1"
"j"="services.msc\\1"

[HKEY_CURRENT_USER\Software\Microsoft\Command Processor]
; Установить зеленый текст в консоли - (Да)
"DefaultColor"=dword:0000000a

[HKEY_USERS\.DEFAULT\Control Panel\Desktop]
; Отключить экранную заставку при входе в систему для всех пользователей - (Да)
"ScreenSaveTimeOut"="0"
"SCRNSAVE.EXE"=-

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Notepad]
; Установить перенос слов в блокноте - (Да)
"fWrap"=dword:00000001

[HKEY_CURRENT_USER\Software\Microsoft\Search Assistant]
; Убрать анимированного помощника по поиску - (Да)
"SocialUI"=dword:00000000

;-------------------------------------------------------------------------------
; ПРОВОДНИК
;-------------------------------------------------------------------------------

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer]
; Отключить автозапись состояния окон "Проводника" - (Да)
"NoSaveSettings"=hex:01,00,00,00
; Имя пользователя в меню "Пуск" - (Да)
"NoUserNameInStartMenu"=dword:00000000
; Показывать команду "Выход" - (Да)
"StartMenuLogoff"=-
; Показывать общие ярлыки (All Users) - (Да)
"NoCommonGroups"=dword:00000000

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Streams\Desktop]
; Включить "Панель быстрого запуска" - (Да)
"TaskbarWinXP"=hex:0c,00,00,00,08,00,00,00,03,00,00,00,00,00,00,00,b0,e2,2b,d8,\
64,57,d0,11,a9,6e,00,c0,4f,d7,05,a2,22,00,1c,00,0a,10,00,00,1a,00,00,00,01,\
00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,4c,00,00,00,01,14,02,00,00,00,\
00,00,c0,00,00,00,00,00,00,46,81,00,00,00,11,00,00,00,a0,a5,21,68,e8,f7,cb,\
01,00,88,36,41,c2,f7,cb,01,00,3c,9b,6b,e8,f7,cb,01,00,00,00,00,00,00,00,00,\
01,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,01,02,14,00,1f,50,e0,4f,d0,\
20,ea,3a,69,10,a2,d8,08,00,2b,30,30,9d,19,00,2f,43,3a,5c,00,00,00,00,00,00,\
00,00,00,00,00,00,00,00,00,00,00,00,00,5c,00,31,00,00,00,00,00,8a,3e,72,bc,\
10,00,44,4f,43,55,4d,45,7e,31,00,00,44,00,03,00,04,00,ef,be,8a,3e,72,bc,8a,\
3e,00,a8,14,00,00,00,44,00,6f,00,63,00,75,00,6d,00,65,00,6e,00,74,00,73,00,\
20,00,61,00,6e,00,64,00,20,00,53,00,65,00,74,00,74,00,69,00,6e,00,67,00,73,\
00,00,00,18,00,36,00,31,00,00,00,00,00,8b,3e,f8,0b,10,00,55,4c,4d,41,4b,00,\
22,00,03,00,04,00,ef,be,8b,3e,f8,0b,95,3e,00,a8,14,00,00,00,55,00,6c,00,6d,\
00,61,00,6b,00,00,00,14,00,64,00,31,00,00,00,00,00,8a,3e,86,bc,13,00,41,50,\
50,4c,49,43,7e,31,00,00,4c,00,03,00,04,00,ef,be,8b,3e,f9,0b,8a,3e,00,a8,14,\
00,36,00,41,00,70,00,70,00,6c,00,69,00,63,00,61,00,74,00,69,00,6f,00,6e,00,\
20,00,44,00,61,00,74,00,61,00,00,00,40,73,68,65,6c,6c,33,32,2e,64,6c,6c,2c,\
2d,32,31,37,36,35,00,18,00,42,00,31,00,00,00,00,00,8a,3e,78,bc,14,00,4d,49,\
43,52,4f,53,7e,31,00,00,2a,00,03,00,04,00,ef,be,8b,3e,f9,0b,8a,3e,00,a8,14,\
00,00,00,4d,00,69,00,63,00,72,00,6f,00,73,00,6f,00,66,00,74,00,00,00,18,00,\
52,00,31,00,00,00,00,00,8a,3e,03,be,10,00,49,4e,54,45,52,4e,7e,31,00,00,3a,\
00,03,00,04,00,ef,be,8b,3e,f9,0b,8a,3e,00,a8,14,00,00,00,49,00,6e,00,74,00,\
65,00,72,00,6e,00,65,00,74,00,20,00,45,00,78,00,70,00,6c,00,6f,00,72,00,65,\
00,72,00,00,00,18,00,48,00,31,00,00,00,00,00,8b,3e,26,0c,11,00,51,55,49,43,\
4b,4c,7e,31,00,00,30,00,03,00,04,00,ef,be,8b,3e,24,0c,8a,3e,00,a8,14,00,00,\
00,51,00,75,00,69,00,63,00,6b,00,20,00,4c,00,61,00,75,00,6e,00,63,00,68,00,\
00,00,18,00,00,00,10,00,00,00,05,00,00,a0,1a,00,00,00,23,01,00,00,00,00,00,\
00,00,00,00,00,60,07,00,00,00,00,00,00,1e,00,00,00,00,00,00,00,00,00,00,00,\
1e,00,00,00,00,00,00,00,01,00,00,00,01,00,00,00,aa,4f,28,68,48,6a,d0,11,8c,\
78,00,c0,4f,d9,18,b4,20,02,00,00,60,0d,00,00,00,00,00,00,1e,00,00,00,00,00,\
00,00,00,00,00,00,1e,00,00,00,00,00,00,00,01,00,00,00,02,00,00,00,8b,8a,0d,\
54,3f,1c,32,4e,81,32,53,0f,6a,50,20,90,1d,00,00,00,60,05,00,00,00,00,00,00,\
1c,00,00,00,00,00,00,00,00,00,00,00,1c,00,00,00,00,00,00,00,01,00,00,00
"Toolbars"=hex:11,00,00,00,00,00,00,00

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced]
; Автоматическое восстановление окон, папок при загрузке - (Да)
"PersistBrowsers"=dword:00000001
; Запретить кэширование изображений (thumbnails) - (Да)
"DisableThumbnailCache"=dword:00000001
; Запускать окна "Проводника" в отдельном процессе - (Да)
"SeparateProcess"=dword:00000001
; Включить закрепление "Панели задач" - (Да)
"TaskbarSizeMove"=dword:00000000
; Отключить все уведомления (всплывающие подсказки) - (Да)
"EnableBalloonTips"=dword:00000000
"ShowInfoTip"=dword:00000000
"StartButtonBalloonTip"=dword:00000000
; Выделять недавно установленные программы - (Да)
"Start_NotifyNewApps"=dword:00000001
; Использовать прокрутку для меню "Программы" - (Да)
"StartMenuScrollPrograms"="Yes"
; Показывать команду "Найти" - (Да)
"Start_ShowSearch"=dword:00000001
; Показывать скрытые файлы и папки - (Да)
"Hidden"=dword:00000001
; Показывать команду "Выполнить" - (Да)
"Start_ShowRun"=dword:00000001
; Показывать пункт меню "Справка и поддержка" - (Да)
"Start_ShowHelp"=dword:00000001
; Показывать пункт меню "Программы по умолчанию" - (Да)
"Start_ShowSetProgramAccessAndDefaults"=dword:00000001
; Разрешить перетаскивание объектов в меню - (Да)
"Start_EnableDragDrop"=dword:00000001
; Размер значков в меню - (Большие)
"Start_LargeMFUIcons"=dword:00000001
; Раскрывать меню при наведении и задержки указателя - (Да)
"Start_AutoCascade"=dword:00000001
; "Администрирование" - отображать как ссылку
"Start_AdminToolsRoot"=dword:00000001
; "Мой компьютер" - отображать как ссылку
"Start_ShowMyComputer"=dword:00000001
; "Моя музыка" - отображать как ссылку
"Start_ShowMyMusic"=dword:00000001
; "Мои рисунки" - отображать как ссылку
"Start_ShowMyPics"=dword:00000001
; "Мои документы" - отображать как ссылку
"Start_ShowMyDocs"=dword:00000001
; "Избранное" - отображать как ссылку
"StartMenuFavorites"=dword:00000001
; "Недавние документы" - отображать как ссылку
"Start_ShowRecentDocs"=dword:00000001
; "Панель управления" - отображать как ссылку
"Start_ShowControlPanel"=dword:00000001
; "Принтеры и факсы" - отображать
"Start_ShowPrinters"=dword:00000001
; "Сетевое окружение" - отображать
"Start_ShowNetPlaces"=dword:00000001
; "Сетевые подключения" - отображать как ссылку
"Start_ShowNetConn"=dword:00000001
; Отключить отображение прозрачного прямоугольника при выделении - (Да)
"ListviewAlphaSelect"=dword:00000000
; Отключение отбрасывания теней значками на рабочем столе - (Да)
"ListviewShadow"=dword:00000000
; Отключение отображения фоновых рисунков для различных типов папок - (Да)
"ListviewWatermark"=dword:00000000
; Отключение скольжения кнопок панели задач - (Да)
"TaskbarAnimations"=dword:00000000
; Отключить использование типичных задач для папок - (Да)
"WebView"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer]
; Отключить "Ярлык для..." при создании ярлыков - (Да)
"link"=hex:00,00,00,00
; Скрывать иконки в трее - (Да)
"EnableAutoTray"=dword:00000001

[HKEY_CLASSES_ROOT\AllFilesystemObjects\shellex\ContextMenuHandlers\Copy To]
; Добавить в контекстное меню пункты "Копировать" и "Переместить" - (Да) 
@="{C2FBB630-2971-11d1-A18C-00C04FD75D13}"

[HKEY_CLASSES_ROOT\AllFilesystemObjects\shellex\ContextMenuHandlers\Move To]
; Добавить в контекстное меню пункты "Копировать" и "Переместить" - (Да) 
@="{C2FBB631-2971-11d1-A18C-00C04FD75D13}"

[HKEY_CLASSES_ROOT\AllFilesystemObjects\shellex\ContextMenuHandlers\Send To]
; Добавить в контекстное меню пункт "Отправить" - (Да)
@="{7BA4C740-9E81-11CF-99D3-00AA004AE837}"

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Desktop\CleanupWiz]
; Отключить "Мастер очистки рабочего стола" - (Да)
"NoRun"=dword:00000001

[HKEY_CURRENT_USER\Control Panel\Desktop]
; Сглаживание шрифтов
"FontSmoothing"="2"
"FontSmoothingType"=dword:00000002
; Убрать задержки при раскрытии списков меню - (Да)
"MenuShowDelay"="0"
; Увеличение частоты мерцания курсора - (Да)
"CursorBlinkRate"="200"
; Отключить эффект для меню и подсказок - (Да)
"SmoothScroll"=dword:00000000
; Отключение отображения содержимого окна при перетаскивании - (Да)
"DragFullWindows"="0"
;Отключить эффекты затухания или скольжения при обращении к меню - (Да)
"UserPreferencesMask"=hex:90,12,01,80

[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]
; Отключение анимации окон при свертывании и развертывании - (Да)
"MinAnimate"="0"

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\AnimateMinMax]
; Отключение анимации окон при свертывании и развертывании - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\ComboBoxAnimation]
; Отключение гладкого прокручивания списков - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\CursorShadow]
; Отключение отображения тени под указателем мыши - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\DragFullWindows]
; Отключение отображения содержимого окна при перетаскивании - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000
"DefaultByAlphaTest"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\DropShadow]
; Отключение отображения теней, отбрасываемых меню - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000
"DefaultByAlphaTest"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\ListBoxSmoothScrolling]
; Отключение скольжения при раскрытии списков - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000001
"DefaultByAlphaTest"=dword:00000001

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\ListviewAlphaSelect]
; Отключить отображение прозрачного прямоугольника при выделении - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000
"DefaultByAlphaTest"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\ListviewShadow]
; Отключение отбрасывания теней значками на рабочем столе - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000001
"DefaultByAlphaTest"=dword:00000001

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\ListviewWatermark]
; Отключение отображения фоновых рисунков для различных типов папок - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000
"DefaultByAlphaTest"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\MenuAnimation]
; Отключить эффекты затухания или скольжения при обращении к меню - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000
"DefaultByAlphaTest"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\SelectionFade]
; Отключить затухание меню после вызова команды - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000
"DefaultByAlphaTest"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\TaskbarAnimations]
; Отключение скольжения кнопок панели задач - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000
"DefaultByAlphaTest"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\Themes]
; Отключить использование стилей для окон и кнопок - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000
"DefaultByAlphaTest"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\TooltipAnimation]
; Отключить эффекты затухания или скольжения при появлении подсказок - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000
"DefaultByAlphaTest"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\WebView]
; Отключить использование типичных задач для папок - (Да)
"DefaultApplied"=dword:00000001
"DefaultValue"=dword:00000000
"DefaultByAlphaTest"=dword:00000000

[HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\FontSmoothing]
; Сглаживание шрифтов
"DefaultApplied"=dword:00000001
"DefaultValue"=-
"DefaultByAlphaTest"=-

;-------------------------------------------------------------------------------
; МЕДИАПЛЕЕР
;-------------------------------------------------------------------------------

[HKEY_CURRENT_USER\Software\Microsoft\MediaPlayer\Settings]
; Активировать DVD-возможности - (Да)
"EnableDVDUI"="Yes"

[HKEY_CURRENT_USER\Software\Microsoft\MediaPlayer\Preferences]
; Выводить лицензионное соглашение Windows Media Player - (Да)
"SilentAcquisition"=dword:00000001
; Отправлять отчеты о работе Windows Media Player в Microsoft - (Да)
"UsageTracking"=dword:00000001
; Использовать Windows Media Player в on-line справочниках - (Да)
"StartInMediaGuide"=dword:00000001
; Добавлять автоматически файлы мультимедиа в библиотеку - (Да)
"AutoAddMusicToLibrary"=dword:00000001
; Отключить идентификацию Windows Media Player на интернет-сайтах - (Да)
"SendUserGUID"=dword:00000000
; Отключить автоматическое скачивание кодеков Windows Media Player - (Да)
"UpgradeCodecPrompt"=dword:00000000
; Отключить обновление Windows Media Player через Интернет - (Да)
"UpgradeCheckFrequency"=dword:00000007
"AskMeAgain"="No"
; Отключить заставку на время воспроизведения - (Да)
"EnableScreensaver"=dword:00000000
; Первый запуск выполнен - (Да)
"AcceptedPrivacyStatement"=dword:00000001
"AcceptedEULA"=dword:00000001
"FirstTime"=dword:00000001
"FirstRun"=dword:00000000

[HKEY_CURRENT_USER\Software\Microsoft\MediaPlayer\Setup\UserOptions]
; Создавать ярлык Windows Media Player на Рабочем столе - (Да)
"DesktopShortcut"="Yes"
; Создавать ярлык Windows Media Player на панели Быстрого запуска - (Да)
"QuickLaunchShortcut"="Yes"

;-------------------------------------------------------------------------------
; НАСТРОЙКИ IE
;-------------------------------------------------------------------------------

[HKEY_CURRENT_USER\Software\Microsoft\Internet Connection Wizard]
; Отключение Internet Connection Wizard (при первом запуске IE6) - (Да)
"Completed"=hex:01,00,00,00

[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\IntelliForms]
; Отключить сообщение о возможности использования автозаполнения - (Да)
"AskUser"=dword:00000000

[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Main]
; Предотвратить повторное использование окна Internet Explorer - (Да)
"AllowWindowReuse"=dword:00000000
; Отключить отладку сценариев (другие) в IE - (Да)
"Disable Script Debugger"="YES"
; Отключить отладку сценариев в IE - (Да)
"DisableScriptDebuggerIE"="YES"
; Включить запрос на сохранение пароля в IE - (Да)
"FormSuggest PW Ask"="YES"
; Отключить отправку отчетов об ошибках IE - (Да)
"IEWatsonDisabled"=dword:00000001
; Включить строку состояния в папках - (Да)
"StatusBarOther"=dword:00000001
; Включить автозаполнение форм в IE - (Да)
"Use FormSuggest"="YES"

[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_LOCALMACHINE_LOCKDOWN]
; Выключить блокировку зоны безопасности локального компьютера в IE - (Да)
"iexplore.exe"=dword:00000000

[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Main]
; Увеличить число одновременных закачек в IE до 10 (по умолчанию 2) - (Да)
"MaxConnectionsPerServer"=dword:0000000a
; Отключить уведомление о начале просмотра через безопасное соединение - (Да)
"WarnOnZoneCrossing"=dword:00000000

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\5.0\Cache\Content]
; Уменьшить кэш IE до 10 MB - (Да)
"CacheLimit"=dword:00002800

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Cache\Content]
; Уменьшить кэш IE до 10 MB - (Да)
"CacheLimit"=dword:00002800

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Zones\3]
; Отключить предупреждение "Информация переданная..., может стать доступной ..." - (Да)
"1601"=dword:00000000

[-HKEY_CLASSES_ROOT\CLSID\{85BBD920-42A0-1069-A2E4-08002B30309D}]
; Удаление Alexa Spyware - (Да)

)golden";

TEST(HkcuScript, EveryOptionCheckedGivesTheWholeScript) {
  Form form = AllOptions(cbChecked);
  form.combos[kLayoutOrderCombo].itemIndex = 0;
  form.layoutOrderLabel = Utf8ToCp1251("Порядок раскладок клавиатуры");
  form.combos[kFontSmoothingCombo].itemIndex = 2;
  form.combos[kFontSmoothingCombo].hint = Utf8ToCp1251("Сглаживание шрифтов");
  form.spinners[kHungAppSpinner].value = 5;
  form.spinners[kKillAppSpinner].value = 20;

  const Strings expected = SplitLines(std::string(kAllChecked + 1));  // after the first line end
  const Strings actual = Lines(BuildHkcuScript(form));
  const std::size_t common = std::min(expected.size(), actual.size());
  for (std::size_t i = 0; i < common; ++i) ASSERT_EQ(actual[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(actual.size(), expected.size());
}

}  // namespace
}  // namespace kwetro
