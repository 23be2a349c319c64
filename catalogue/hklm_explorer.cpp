// The "; ПРОВОДНИК" section of hklm.reg: machine-wide Explorer options, one
// row per block, in the order the script holds them.
#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& HklmExplorerBlocks() {
  static const std::vector<Block>& blocks = Catalogue(
      Standard("pCheckBox_1_1",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon])",
               {R"("AutoRestartShell"=dword:00000001)"}, {R"("AutoRestartShell"=dword:00000000)"}),

      Standard("pCheckBox_1_6",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\HTMLHelp\1.x\ItssRestrictions])",
               {R"("MaxAllowedZone"=dword:00000001)"}, {R"("MaxAllowedZone"=-)"}),

      // Shortcut overlay icon: %systemroot%\system32\shell32.dll,50 when checked,
      // ,20 when unchecked, as UTF-16 bytes. The continuation lines are literal
      // text, kept exactly as they are rather than recomputed.
      Standard(
          "pCheckBox_1_10",
          R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Icons])",
          {R"("29"=hex(2):25,00,73,00,79,00,73,00,74,00,65,00,6d,00,72,00,6f,00,6f,00,74,00,\)",
           R"(25,00,5c,00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,73,00,68,\)",
           R"(00,65,00,6c,00,6c,00,33,00,32,00,2e,00,64,00,6c,00,6c,00,2c,00,35,00,30,00,\)",
           R"(00,00)"},
          {R"("29"=hex(2):25,00,73,00,79,00,73,00,74,00,65,00,6d,00,72,00,6f,00,6f,00,74,00,\)",
           R"(25,00,5c,00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,73,00,68,\)",
           R"(00,65,00,6c,00,6c,00,33,00,32,00,2e,00,64,00,6c,00,6c,00,2c,00,32,00,30,00,\)",
           R"(00,00)"}),

      // A string value, not a dword: that is the form Explorer reads.
      Standard("pCheckBox_1_11",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer])",
               {R"("Max Cached Icons"="4096")"}, {R"("Max Cached Icons"="512")"}),

      // Context-menu items of "My Computer": unchecked removes the item key with its command.
      Option(
          "pCheckBox_2_3",
          Write(
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\4])",
                  {R"(@="Панель управления")"}),
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\4\command])",
                  {R"(@="rundll32.exe shell32.dll,Control_RunDLL")"})),
          Write(Keys(
              {R"([-HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\4])"}))),

      // The command is %windir%\system32\mmc.exe /s %SystemRoot%\system32\devmgmt.msc /s.
      Option(
          "pCheckBox_2_4",
          Write(
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\2])",
                  {R"(@="Диспетчер устройств")"}),
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\2\command])",
                  {R"(@=hex(2):25,00,77,00,69,00,6e,00,64,00,69,00,72,00,25,00,5c,\)",
                   R"(00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,6d,00,6d,00,63,00,\)",
                   R"(2e,00,65,00,78,00,65,00,20,00,2f,00,73,00,20,00,25,00,53,00,79,00,73,00,74,\)",
                   R"(00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,00,5c,00,73,00,79,00,73,00,74,00,\)",
                   R"(65,00,6d,00,33,00,32,00,5c,00,64,00,65,00,76,00,6d,00,67,00,6d,00,74,00,2e,\)",
                   R"(00,6d,00,73,00,63,00,20,00,2f,00,73,00,00,00)"})),
          Write(Keys(
              {R"([-HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\shell\2])"}))),

      // Registry key names ignore case, so the lower-case key created here is
      // the one the upper-case deletion removes.
      Option(
          "pCheckBox_2_5",
          Write(Key(
              R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\MyComputer\NameSpace\DelegateFolders\{59031a47-3f72-44a7-89c5-5595fe6b30ee}])",
              {R"(@="")"})),
          Write(Keys(
              {R"([-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\MyComputer\NameSpace\DelegateFolders\{59031A47-3F72-44A7-89C5-5595FE6B30EE}])"}))),

      Standard(
          "pCheckBox_2_6",
          R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced])",
          {R"("TaskbarGlomming"=dword:00000000)"}, {R"("TaskbarGlomming"=-)"}),

      Option(
          "pCheckBox_2_10",
          Write(Key(
              R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Desktop\NameSpace\DelegateFolders\{E211B736-43FD-11D1-9EFB-0000F8757FCD}])",
              {R"(@="Сканеры и камеры")"})),
          Write(Keys(
              {R"([-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Desktop\NameSpace\DelegateFolders\{E211B736-43FD-11D1-9EFB-0000F8757FCD}])"}))),

      // The menu order lives in the profile of whoever imports the script:
      // deleting it lets Explorer sort the menus alphabetically again, while
      // unchecked only makes sure the keys exist.
      Option(
          "pCheckBox_2_11",
          Write(Keys(
              {R"([-HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Favorites])",
               R"([-HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu])",
               R"([-HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2])"})),
          Write(Keys(
              {R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Favorites])",
               R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu])",
               R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2])"}))));
  return blocks;
}

}  // namespace kwetro
