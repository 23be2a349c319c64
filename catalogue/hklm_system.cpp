// The "; СИСТЕМА" section of hklm.reg: machine-wide system options, one row
// per block, in the order the script holds them.
#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& HklmSystemBlocks() {
  static const std::vector<Block>& blocks = Catalogue(
      // Hung-service timeout: the spinner is in seconds, the value in milliseconds.
      Fixed(R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control])",
            Comment("; Завершать зависший сервис через (сек)"),
            SpinnerMillis("sSpinner4_3", "WaitToKillServiceTimeout")),

      // Unchecked restores the standard setting, 16-bit programs sharing one process.
      Standard("sCheckBox_1_3", R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\WOW])",
               {R"("DefaultSeparateVDM"="yes")"}, {R"("DefaultSeparateVDM"="no")"}),

      // Anonymous access: the grayed level writes too, but only when the group is written.
      Group(R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Lsa])",
            ThreeValuedMember("sCheckBox_1_5", {R"("RestrictAnonymous"=dword:00000002)"},
                              {R"("RestrictAnonymous"=dword:00000001)"},
                              {R"("RestrictAnonymous"=dword:00000000)"}),
            Member("sCheckBox_3_7", {R"("forceguest"=dword:00000000)"},
                   {R"("forceguest"=dword:00000001)"})),

      Standard("sCheckBox_1_6",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\AeDebug])",
               {R"("Auto"=dword:00000000)"}, {R"("Auto"=dword:00000001)"}),

      Group(
          R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management])",
          Member("sCheckBox_1_8", {R"("ClearPageFileAtShutdown"=dword:00000001)"},
                 {R"("ClearPageFileAtShutdown"=dword:00000000)"}),
          Member("sCheckBox_3_1", {R"("LargeSystemCache"=dword:00000001)"},
                 {R"("LargeSystemCache"=dword:00000000)"}),
          Member("sCheckBox_3_4", {R"("DisablePagingExecutive"=dword:00000001)"},
                 {R"("DisablePagingExecutive"=dword:00000000)"})),

      Standard("sCheckBox_1_9",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\SystemRestore])",
               {R"("DisableSR"=dword:00000001)"}, {R"("DisableSR"=dword:00000000)"}),

      Option(
          "sCheckBox_1_11",
          Write(
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\FontMapper])",
                  {R"("ARIAL"=dword:000000cc)"}),
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\FontSubstitutes])",
                  {R"("Arial,0"="Arial,204")", R"("Comic Sans MS,0"="Comic Sans MS,204")",
                   R"("Courier,204"="Courier New,204")", R"("Franklin Gothic"="Arial")",
                   R"("Segoe UI,0"="Segoe UI,204")", R"("System,0"="Arial,204")",
                   R"("Tahoma,0"="Tahoma,204")", R"("Times New Roman,0"="Times New Roman,204")",
                   R"("Verdana,0"="Verdana,204")"})),
          Write(
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\FontMapper])",
                  {R"("ARIAL"=dword:00000000)"}),
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\FontSubstitutes])",
                  {R"("Arial,0"=-)", R"("Comic Sans MS,0"=-)", R"("Courier,204"=-)",
                   R"("Franklin Gothic"=-)", R"("Segoe UI,0"=-)", R"("System,0"="System,204")",
                   R"("Tahoma,0"=-)", R"("Times New Roman,0"=-)", R"("Verdana,0"=-)"}))),

      Standard("sCheckBox_6_1",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer])",
               {R"("AlwaysUnloadDLL"=dword:00000001)"}, {R"("AlwaysUnloadDLL"=dword:00000000)"}),

      Group(R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\FileSystem])",
            Member("sCheckBox_3_6", {R"("NtfsDisableLastAccessUpdate"=dword:00000001)"},
                   {R"("NtfsDisableLastAccessUpdate"=dword:00000000)"}),
            Member("sCheckBox_3_5", {R"("NtfsDisable8dot3NameCreation"=dword:00000001)"},
                   {R"("NtfsDisable8dot3NameCreation"=dword:00000000)"}),
            Member("sCheckBox_3_8", {R"("NtfsMftZoneReservation"=dword:00000002)"},
                   {R"("NtfsMftZoneReservation"=dword:00000001)"}),
            Member("sCheckBox_3_9", {R"("ContigFileAllocSize"=dword:000001f4)"},
                   {R"("ContigFileAllocSize"=-)"})),

      // Automatic updates by item: install on their own, ask before downloading,
      // download and ask before installing, off.
      Fixed(
          R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\WindowsUpdate\Auto Update])",
          Combo("sComboBox_1_1",
                {{R"("AUOptions"=dword:00000004)", R"("AUState"=-)"},
                 {R"("AUOptions"=dword:00000002)", R"("AUState"=dword:00000002)"},
                 {R"("AUOptions"=dword:00000003)", R"("AUState"=dword:00000002)"},
                 {R"("AUOptions"=dword:00000001)", R"("AUState"=dword:00000007)"}})),

      Group(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon])",
            Member("sCheckBox_2_1", {R"("AllowMultipleTSSessions"=dword:00000001)"},
                   {R"("AllowMultipleTSSessions"=dword:00000000)"}),
            Member("sCheckBox_2_3", {R"("LogonType"=dword:00000001)"},
                   {R"("LogonType"=dword:00000000)"}),
            Member("sCheckBox_6_14", {R"("SFCDisable"=dword:ffffff9d)"},
                   {R"("SFCDisable"=dword:00000000)"})),

      Group(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System])",
            Member("sCheckBox_2_7", {R"("DontDisplayLastUserName"=dword:00000000)"},
                   {R"("DontDisplayLastUserName"=dword:00000001)"}),
            Member("sCheckBox_2_8", {R"("verbosestatus"=dword:00000001)"},
                   {R"("verbosestatus"=dword:00000000)"})),

      // Windows reads this policy under Policies\Explorer (under
      // Policies\System it would do nothing).
      Standard(
          "sCheckBox_3_7b",
          R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer])",
          {R"("NoInternetOpenWith"=dword:00000001)"}, {R"("NoInternetOpenWith"=-)"}),

      Standard("sCheckBox_2_5",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Applets\Tour])",
               {R"("RunCount"=dword:00000000)"}, {R"("RunCount"=dword:00000001)"}),

      Standard(
          "sCheckBox_2_6", R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Security Center])",
          {R"("FirewallDisableNotify"=dword:00000001)", R"("UpdatesDisableNotify"=dword:00000001)",
           R"("AntiVirusDisableNotify"=dword:00000001)"},
          {R"("FirewallDisableNotify"=dword:00000000)", R"("UpdatesDisableNotify"=dword:00000000)",
           R"("AntiVirusDisableNotify"=dword:00000000)"}),

      Standard("sCheckBox_3_2",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Dfrg\BootOptimizeFunction])",
               {R"("Enable"="Y")"}, {R"("Enable"="N")"}),

      Standard("sCheckBox_3_3",
               R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\lanmanserver\parameters])",
               {R"("AutoShareWks"=dword:00000000)", R"("AutoShareServer"=dword:00000000)"},
               {R"("AutoShareWks"=-)", R"("AutoShareServer"=-)"}),

      // Removing the AVI property handler cannot be undone from here, so only
      // the checked state writes anything.
      Option(
          "sCheckBox_3_10",
          Write(Keys(
              {R"([-HKEY_CLASSES_ROOT\CLSID\{87D62D94-71B3-4b9a-9489-5FE6850DC73E}])",
               R"([-HKEY_CLASSES_ROOT\SystemFileAssociations\.avi\shellex\PropertyHandler])",
               R"([-HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{87D62D94-71B3-4b9a-9489-5FE6850DC73E}\InProcServer32])"})),
          Nothing()),

      Standard("sCheckBox_5_7",
               R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\PriorityControl])",
               {R"("IRQ8Priority"=dword:00000001)"}, {R"("IRQ8Priority"=-)"}),

      // Network drives open faster without the scheduled-tasks and printers
      // folders of remote computers; unchecked puts the two folders back.
      Option(
          "sCheckBox_5_6",
          Write(Keys(
              {R"([-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\RemoteComputer\NameSpace\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}])",
               R"([-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\RemoteComputer\NameSpace\{2227A280-3AEA-1069-A2DE-08002B30309D}])"})),
          Write(Keys(
              {R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\RemoteComputer\NameSpace\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}])",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\RemoteComputer\NameSpace\{2227A280-3AEA-1069-A2DE-08002B30309D}])"}))),

      // Autorun: the Cdrom key follows only a chosen item, so nothing selected
      // leaves media change detection as it is.
      Fixed(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer])",
            Combo("sComboBox_5_1",
                  {{R"("NoDriveTypeAutoRun"=dword:00000091)", "",
                    R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Cdrom])",
                    "; Определение смены носителя", R"("AutoRun"=dword:00000000)"},
                   {R"("NoDriveTypeAutoRun"=dword:000000dd)", "",
                    R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Cdrom])",
                    "; Определение смены носителя", R"("AutoRun"=dword:00000001)"},
                   {R"("NoDriveTypeAutoRun"=dword:000000ff)", "",
                    R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Cdrom])",
                    "; Определение смены носителя", R"("AutoRun"=dword:00000000)"}})),

      Fixed(
          R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management\PrefetchParameters])",
          Combo("sComboBox_3_1", {{R"("EnablePrefetcher"=dword:00000000)"},
                                  {R"("EnablePrefetcher"=dword:00000001)"},
                                  {R"("EnablePrefetcher"=dword:00000002)"},
                                  {R"("EnablePrefetcher"=dword:00000003)"}})),

      Group(R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\CrashControl])",
            Member("sCheckBox_4_1", {R"("AutoReboot"=dword:00000001)"},
                   {R"("AutoReboot"=dword:00000000)"}),
            Member("sCheckBox_4_2", {R"("LogEvent"=dword:00000001)"},
                   {R"("LogEvent"=dword:00000000)"}),
            // 3 is the 64 KB small memory dump the caption names (1 would be a
            // complete dump, as large as the memory).
            Member("sCheckBox_4_3", {R"("CrashDumpEnabled"=dword:00000003)"},
                   {R"("CrashDumpEnabled"=dword:00000000)"}),
            Member("sCheckBox_4_4", {R"("SendAlert"=dword:00000001)"},
                   {R"("SendAlert"=dword:00000000)"})),

      // The registry editor refuses a key under the short root "HKLM", which
      // would leave the Ctrl+Scroll Lock crash switch unset; the full root name
      // is written instead.
      Standard("sCheckBox_4_5",
               R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\i8042prt\Parameters])",
               {R"("CrashOnCtrlScroll"=dword:00000001)"},
               {R"("CrashOnCtrlScroll"=dword:00000000)"}),

      // Error reporting: the combo picks how reports are shown, the check box
      // whether they are sent.
      Fixed(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\PCHealth\ErrorReporting])",
            Combo("sComboBox_4_1", {{R"("ShowUI"=dword:00000002)"},
                                    {R"("ShowUI"=dword:00000001)"},
                                    {R"("ShowUI"=dword:00000000)"}}),
            Member("sCheckBox_4_7", {R"("DoReport"=dword:00000001)"},
                   {R"("DoReport"=dword:00000000)"})),

      Standard("sCheckBox_5_1", R"([HKEY_LOCAL_MACHINE\SOFTWARE\Policies\Microsoft\MRT])",
               {R"("DontReportInfectionInformation"=dword:00000001)"},
               {R"("DontReportInfectionInformation"=-)"}),

      Standard("sCheckBox_5_2",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\Policies\Microsoft\Windows\DriverSearching])",
               {R"("DontSearchWindowsUpdate"=dword:00000001)",
                R"("DontPromptForWindowsUpdate"=dword:00000001)"},
               {R"("DontSearchWindowsUpdate"=dword:00000000)",
                R"("DontPromptForWindowsUpdate"=dword:00000000)"}),

      Standard(
          "sCheckBox_5_3",
          R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\I/O System])",
          {R"("CountOperations"=dword:00000000)"}, {R"("CountOperations"=dword:00000001)"}),

      Standard(
          "sCheckBox_5_4",
          R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\SubSystems])",
          {R"("Optional"=-)", R"("Posix"=-)"},
          {R"("Optional"="Posix")", R"("Posix"="%SystemRoot%\system32\psxss.exe")"}),

      Standard("sCheckBox_5_5",
               R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\FileSystem\CDFS])",
               {R"("Prefetch"=dword:00004000)", R"("PrefetchTail"=dword:00004000)",
                R"("CacheSize"=hex:ff,ff,00,00)"},
               {R"("Prefetch"=-)", R"("PrefetchTail"=-)", R"("CacheSize"=-)"}),

      Standard("sCheckBox_5_8",
               R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Terminal Server])",
               {R"("fDenyTSConnections"=dword:00000001)", R"("fAllowToGetHelp"=dword:00000000)"},
               {R"("fDenyTSConnections"=dword:00000000)", R"("fAllowToGetHelp"=dword:00000001)"}),

      Standard("sCheckBox_6_4",
               R"([HKEY_LOCAL_MACHINE\SOFTWARE\NVIDIA Corporation\Global\NVTweak])",
               {R"("Coolbits"=dword:ffffffff)", R"("NvCplEnableAGPSettingsPage"=dword:00000001)",
                R"("NvCplEnableAdditionalInfoPage"=dword:00000001)",
                R"("NvCplEnableClearViewPage"=dword:00000001)"},
               {R"("Coolbits"=-)", R"("NvCplEnableAGPSettingsPage"=-)",
                R"("NvCplEnableAdditionalInfoPage"=-)", R"("NvCplEnableClearViewPage"=-)"}),

      // Recycle bin size, as the caption's percentage of the drive: 50, 3, 10.
      ThreeValued(
          "sCheckBox_6_6",
          R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\BitBucket])",
          {R"("Percent"=dword:00000032)"}, {R"("Percent"=dword:00000003)"},
          {R"("Percent"=dword:0000000a)"}),

      Standard(
          "sCheckBox_6_7",
          R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Environment])",
          {R"("devmgr_show_nonpresent_devices"="1")"}, {R"("devmgr_show_nonpresent_devices"=-)"}),

      Standard("sCheckBox_6_8",
               R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Nls\CodePage])",
               {R"("1250"="c_1251.nls")", R"("1251"="c_1251.nls")", R"("1252"="c_1251.nls")",
                R"("1253"="c_1251.nls")", R"("1254"="c_1251.nls")", R"("1255"="c_1251.nls")"},
               {R"("1250"="c_1250.nls")", R"("1251"="c_1251.nls")", R"("1252"="c_1252.nls")",
                R"("1253"="c_1253.nls")", R"("1254"="c_1254.nls")", R"("1255"="c_1255.nls")"}),

      // Hibernate button: a "System" group and its check box in the advanced
      // options tree, plus the policy value the check box stands for.
      Option(
          "sCheckBox_6_10",
          Write(
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced\System])",
                  {R"("Bitmap"="SHELL32.DLL,22")", R"("Text"="Системные параметры")",
                   R"("Type"="group")"}),
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced\System\Hibernate])",
                  {R"("RegPath"="SOFTWARE\Policies\Microsoft\Windows\System\Shutdown")",
                   R"("Text"="Кнопка"Спящий режим" в диалоге выключения ПК")",
                   R"("Type"="checkbox")", R"("ValueName"="ShowHibernateButton")",
                   R"("CheckedValue"=dword:00000001)", R"("UncheckedValue"=dword:00000000)",
                   R"("DefaultValue"=dword:00000001)", R"("HKeyRoot"=dword:80000002)"}),
              Key(R"([HKEY_LOCAL_MACHINE\SOFTWARE\Policies\Microsoft\Windows\System\Shutdown])",
                  {R"("ShowHibernateButton"=dword:00000001)"})),
          Write(Keys(
              {R"([-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Advanced\System])",
               R"([-HKEY_LOCAL_MACHINE\SOFTWARE\Policies\Microsoft\Windows\System\Shutdown])"}))));
  return blocks;
}

}  // namespace kwetro
