// hkcu.reg, "; НАСТРОЙКИ IE": the browser's per-user settings, in the order
// the script holds them.
#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& InternetExplorerBlocks() {
  static const std::vector<Block>& blocks = Catalogue(
      Standard("iCheckBox_2_7",
               R"([HKEY_CURRENT_USER\Software\Microsoft\Internet Connection Wizard])",
               {R"("Completed"=hex:01,00,00,00)"}, {R"("Completed"=hex:00,00,00,00)"}),
      Standard("iCheckBox_2_8",
               R"([HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\IntelliForms])",
               {R"("AskUser"=dword:00000000)"}, {R"("AskUser"=dword:00000001)"}),
      Group(R"([HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Main])",
            Member("iCheckBox_2_12", {R"("AllowWindowReuse"=dword:00000000)"},
                   {R"("AllowWindowReuse"=-)"}),
            Member("iCheckBox_2_5", {R"("Disable Script Debugger"="YES")"},
                   {R"("Disable Script Debugger"="NO")"}),
            Member("iCheckBox_2_9", {R"("DisableScriptDebuggerIE"="YES")"},
                   {R"("DisableScriptDebuggerIE"="NO")"}),
            Member("iCheckBox_2_3", {R"("FormSuggest PW Ask"="YES")"},
                   {R"("FormSuggest PW Ask"="NO")"}),
            Member("iCheckBox_2_6", {R"("IEWatsonDisabled"=dword:00000001)"},
                   {R"("IEWatsonDisabled"=-)"}),
            Member("iCheckBox_2_1", {R"("StatusBarOther"=dword:00000001)"},
                   {R"("StatusBarOther"=-)"}),
            Member("iCheckBox_2_2", {R"("Use FormSuggest"="YES")"}, {R"("Use FormSuggest"="NO")"})),
      Standard(
          "iCheckBox_2_4",
          R"([HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_LOCALMACHINE_LOCKDOWN])",
          {R"("iexplore.exe"=dword:00000000)"}, {R"("iexplore.exe"=dword:00000001)"}),
      // These two are a group of their own, written after the lockdown block,
      // under Internet Settings, where WinInet reads them.
      Group(R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings])",
            Member("iCheckBox_2_13", {R"("MaxConnectionsPerServer"=dword:0000000a)"},
                   {R"("MaxConnectionsPerServer"=-)"}),
            Member("iCheckBox_2_10", {R"("WarnOnZoneCrossing"=dword:00000000)"},
                   {R"("WarnOnZoneCrossing"=dword:00000001)"})),
      // 10 MB when checked; unchecked restores the usual size. The browser
      // keeps the limit in two places, so both get the same value.
      Option(
          "iCheckBox_2_14",
          Write(
              Key(R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\5.0\Cache\Content])",
                  {R"("CacheLimit"=dword:00002800)"}),
              Key(R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Cache\Content])",
                  {R"("CacheLimit"=dword:00002800)"})),
          Write(
              Key(R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\5.0\Cache\Content])",
                  {R"("CacheLimit"=dword:0009c458)"}),
              Key(R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Cache\Content])",
                  {R"("CacheLimit"=dword:0009c458)"}))),
      // Internet zone, action 1601: the warning when submitting unencrypted data.
      Standard(
          "iCheckBox_2_11",
          R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Zones\3])",
          {R"("1601"=dword:00000000)"}, {R"("1601"=dword:00000001)"}),
      // Removal only: the spyware's class registration is never written back.
      Option("iCheckBox_2_15",
             Write(Keys({R"([-HKEY_CLASSES_ROOT\CLSID\{85BBD920-42A0-1069-A2E4-08002B30309D}])"})),
             Nothing()));
  return blocks;
}

}  // namespace kwetro
