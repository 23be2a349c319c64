// hkcu.reg, "; СИСТЕМА": the system options that live in the current user's
// hive, in the order the script holds them.
#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& HkcuSystemBlocks() {
  static const std::vector<Block>& blocks = Catalogue(
      // Power scheme and layout switch have no "skip" state: grayed picks a
      // setting of its own, so both are written on every Apply.
      ThreeValued("sCheckBox_1_1", R"([HKEY_CURRENT_USER\Control Panel\PowerCfg])",
                  {R"("CurrentPowerPolicy"="0")"}, {R"("CurrentPowerPolicy"="3")"},
                  {R"("CurrentPowerPolicy"="1")"}),
      Standard("sCheckBox_1_2",
               R"([HKEY_CURRENT_USER\SOFTWARE\Policies\Microsoft\Windows\System\Power])",
               {R"("PromptPasswordOnResume"=dword:00000001)"}, {R"("PromptPasswordOnResume"=-)"}),
      ThreeValued("sCheckBox_1_4", R"([HKEY_CURRENT_USER\Keyboard Layout\Toggle])",
                  {R"("Hotkey"="2")", R"("Language Hotkey"="2")", R"("Layout Hotkey"="1")"},
                  {R"("Hotkey"="1")", R"("Language Hotkey"="1")", R"("Layout Hotkey"="2")"},
                  {R"("Hotkey"="2")", R"("Language Hotkey"="2")", R"("Layout Hotkey"="3")"}),
      // Its comment is the caption of the label beside the list, not its hint.
      Fixed(R"([HKEY_CURRENT_USER\Keyboard Layout\Preload])",
            Combo("sComboBox_2_1",
                  {
                      {R"("1"="00000409")", R"("2"="00000419")"},  // English first
                      {R"("1"="00000419")", R"("2"="00000409")"},  // Russian first
                  },
                  GroupItem::kComboLabel)),
      Option("sCheckBox_6_9",
             Write(Key(R"([HKEY_CURRENT_USER\Control Panel\Accessibility\Keyboard Response])",
                       {R"("Flags"="122")"}),
                   Key(R"([HKEY_CURRENT_USER\Control Panel\Accessibility\StickyKeys])",
                       {R"("Flags"="506")"}),
                   Key(R"([HKEY_CURRENT_USER\Control Panel\Accessibility\ToggleKeys])",
                       {R"("Flags"="58")"})),
             Write(Key(R"([HKEY_CURRENT_USER\Control Panel\Accessibility\Keyboard Response])",
                       {R"("Flags"="126")"}),
                   Key(R"([HKEY_CURRENT_USER\Control Panel\Accessibility\StickyKeys])",
                       {R"("Flags"="510")"}),
                   Key(R"([HKEY_CURRENT_USER\Control Panel\Accessibility\ToggleKeys])",
                       {R"("Flags"="62")"}))),
      Group(R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer])",
            Member("sCheckBox_1_7", {R"("NoLowDiskSpaceChecks"=dword:00000001)"},
                   {R"("NoLowDiskSpaceChecks"=-)"}),
            Member("sCheckBox_2_10", {R"("NoInstrumentation"=dword:00000001)"},
                   {R"("NoInstrumentation"=dword:00000000)"})),
      // Checked drops the per-user variables so the shared %WinDir%\Temp
      // applies. Unchecked puts back %USERPROFILE%\Local Settings\Temp as an
      // expandable string (UTF-16), the type Windows keeps it in: a plain
      // string is never expanded, and installers would fail on it.
      Standard("sCheckBox_1_10", R"([HKEY_CURRENT_USER\Environment])",
               {R"("TEMP"=-)", R"("TMP"=-)"},
               {R"("TEMP"=hex(2):25,00,55,00,53,00,45,00,52,00,50,00,52,00,4f,00,46,00,49,00,4c,\)",
                R"(00,45,00,25,00,5c,00,4c,00,6f,00,63,00,61,00,6c,00,20,00,53,00,65,00,74,00,\)",
                R"(74,00,69,00,6e,00,67,00,73,00,5c,00,54,00,65,00,6d,00,70,00,00,00)",
                R"("TMP"=hex(2):25,00,55,00,53,00,45,00,52,00,50,00,52,00,4f,00,46,00,49,00,4c,\)",
                R"(00,45,00,25,00,5c,00,4c,00,6f,00,63,00,61,00,6c,00,20,00,53,00,65,00,74,00,\)",
                R"(74,00,69,00,6e,00,67,00,73,00,5c,00,54,00,65,00,6d,00,70,00,00,00)"}),
      Standard("sCheckBox_2_9",
               R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon])",
               {R"("ParseAutoexec"="0")"}, {R"("ParseAutoexec"="1")"}),
      // NumLock at the logon screen, which reads the default profile (a key
      // under the current user's hive of that name is read by nobody), kept
      // as a string as Windows keeps it.
      Standard("sCheckBox_2_2", R"([HKEY_USERS\.DEFAULT\Control Panel\Keyboard])",
               {R"("InitialKeyboardIndicators"="2")"}, {R"("InitialKeyboardIndicators"="0")"}),
      Standard("sCheckBox_2_4",
               R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\UnreadMail])",
               {R"("MessageExpiryDays"=dword:00000000)"},
               {R"("MessageExpiryDays"=dword:00000001)"}),
      // The two timeouts ride along whenever either desktop option is written.
      Group(R"([HKEY_CURRENT_USER\Control Panel\Desktop])",
            Member("sCheckBox_4_6", {R"("AutoEndTasks"="1")"}, {R"("AutoEndTasks"="0")"}),
            Member("sCheckBox_5_9", {R"("ScreenSaveActive"="0")"}, {R"("ScreenSaveActive"="1")"}),
            Comment("; Считать программу зависшей через (сек)"),
            SpinnerMillis("sSpinner4_1", "HungAppTimeout"),
            Comment("; Завершать зависшее приложение через (сек)"),
            SpinnerMillis("sSpinner4_2", "WaitToKillAppTimeout")),
      Standard("sCheckBox_6_2", R"([HKEY_CURRENT_USER\Console])", {R"("QuickEdit"=dword:00000001)"},
               {R"("QuickEdit"=dword:00000000)"}),
      // Only adds entries: unticking must not wipe the user's own Run history.
      Option("sCheckBox_6_5",
             Write(Key(
                 R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU])",
                 {
                     R"("MRUList"="abcdefghij")",
                     R"("a"="dxdiag\1")",
                     R"("b"="cmd\1")",
                     R"("c"="control admintools\1")",
                     R"("d"="control schedtasks\1")",
                     R"("e"="control userpasswords2\1")",
                     R"("f"="gpedit.msc\1")",
                     R"("g"="msconfig\1")",
                     R"("h"="ping\1")",
                     R"("i"="regedit\1")",
                     R"("j"="services.msc\1")",
                 })),
             Nothing()),
      // Attribute 0A: light green on black.
      Standard("sCheckBox_6_11", R"([HKEY_CURRENT_USER\Software\Microsoft\Command Processor])",
               {R"("DefaultColor"=dword:0000000a)"}, {R"("DefaultColor"=dword:00000000)"}),
      // The logon screen belongs to the default profile, not to the current user.
      Standard("sCheckBox_2_11", R"([HKEY_USERS\.DEFAULT\Control Panel\Desktop])",
               {R"("ScreenSaveTimeOut"="0")", R"("SCRNSAVE.EXE"=-)"},
               {R"("ScreenSaveTimeOut"="600")", R"("SCRNSAVE.EXE"="logon.scr")"}),
      Standard("sCheckBox_6_12", R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Notepad])",
               {R"("fWrap"=dword:00000001)"}, {R"("fWrap"=dword:00000000)"}),
      Standard("sCheckBox_6_13", R"([HKEY_CURRENT_USER\Software\Microsoft\Search Assistant])",
               {R"("SocialUI"=dword:00000000)"}, {R"("SocialUI"=dword:00000001)"}));
  return blocks;
}

}  // namespace kwetro
