// hkcu.reg, "; МЕДИАПЛЕЕР": the media player's per-user settings, in the
// order the script holds them. String data keep the player's own spelling
// ("Yes"/"No", but "no" for the shortcuts).
#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& MediaPlayerBlocks() {
  static const std::vector<Block>& blocks = Catalogue(
      Standard("mCheckBox_1_1", R"([HKEY_CURRENT_USER\Software\Microsoft\MediaPlayer\Settings])",
               {R"("EnableDVDUI"="Yes")"}, {R"("EnableDVDUI"="No")"}),
      Group(R"([HKEY_CURRENT_USER\Software\Microsoft\MediaPlayer\Preferences])",
            Member("mCheckBox_1_2", {R"("SilentAcquisition"=dword:00000001)"},
                   {R"("SilentAcquisition"=dword:00000000)"}),
            Member("mCheckBox_1_3", {R"("UsageTracking"=dword:00000001)"},
                   {R"("UsageTracking"=dword:00000000)"}),
            Member("mCheckBox_1_4", {R"("StartInMediaGuide"=dword:00000001)"},
                   {R"("StartInMediaGuide"=dword:00000000)"}),
            Member("mCheckBox_1_7", {R"("AutoAddMusicToLibrary"=dword:00000001)"},
                   {R"("AutoAddMusicToLibrary"=dword:00000000)"}),
            Member("mCheckBox_1_8", {R"("SendUserGUID"=dword:00000000)"},
                   {R"("SendUserGUID"=dword:00000001)"}),
            Member("mCheckBox_1_9", {R"("UpgradeCodecPrompt"=dword:00000000)"},
                   {R"("UpgradeCodecPrompt"=dword:00000001)"}),
            Member("mCheckBox_1_10",
                   {R"("UpgradeCheckFrequency"=dword:00000007)", R"("AskMeAgain"="No")"},
                   {R"("UpgradeCheckFrequency"=dword:00000001)", R"("AskMeAgain"="Yes")"}),
            Member("mCheckBox_1_11", {R"("EnableScreensaver"=dword:00000000)"},
                   {R"("EnableScreensaver"=dword:00000001)"}),
            Member(
                "mCheckBox_1_12",
                {R"("AcceptedPrivacyStatement"=dword:00000001)", R"("AcceptedEULA"=dword:00000001)",
                 R"("FirstTime"=dword:00000001)", R"("FirstRun"=dword:00000000)"},
                {R"("AcceptedPrivacyStatement"=dword:00000000)", R"("AcceptedEULA"=dword:00000000)",
                 R"("FirstTime"=dword:00000000)", R"("FirstRun"=dword:00000001)"})),
      Group(R"([HKEY_CURRENT_USER\Software\Microsoft\MediaPlayer\Setup\UserOptions])",
            Member("mCheckBox_1_5", {R"("DesktopShortcut"="Yes")"}, {R"("DesktopShortcut"="no")"}),
            // Unchecked switches the Quick Launch shortcut off. An earlier
            // catalogue wrote "StartInMediaGuide" here, so unticking the box
            // left the shortcut as it was.
            Member("mCheckBox_1_6", {R"("QuickLaunchShortcut"="Yes")"},
                   {R"("QuickLaunchShortcut"="no")"})));
  return blocks;
}

}  // namespace kwetro
