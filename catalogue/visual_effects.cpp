// hkcu.reg, "; ПРОВОДНИК" from font smoothing on: the desktop's visual
// effects, in the order the script holds them.
#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& VisualEffectBlocks() {
  static const std::vector<Block>& blocks = Catalogue(
      // Font smoothing has no "skip": the desktop block is written on every
      // Apply, with the lines of whatever the drop-down selects.
      Fixed(
          R"([HKEY_CURRENT_USER\Control Panel\Desktop])",
          Combo("pComboBox_1_1",
                {
                    {R"("FontSmoothing"="0")", R"("FontSmoothingType"=dword:00000000)"},
                    {R"("FontSmoothing"="2")", R"("FontSmoothingType"=dword:00000001)"},
                    {R"("FontSmoothing"="2")", R"("FontSmoothingType"=dword:00000002)"},
                }),
          Member("pCheckBox_2_12", {R"("MenuShowDelay"="0")"}, {R"("MenuShowDelay"="400")"}),
          Member("pCheckBox_2_13", {R"("CursorBlinkRate"="200")"}, {R"("CursorBlinkRate"="530")"}),
          Member("pCheckBox_4_13", {R"("SmoothScroll"=dword:00000000)"},
                 {R"("SmoothScroll"=dword:00000001)"}),
          Member("pCheckBox_5_4", {R"("DragFullWindows"="0")"}, {R"("DragFullWindows"="1")"}),
          // The whole mask is written, never merged with the user's own;
          // the checked mask is the unchecked one with the animation bits cleared.
          MemberWithTightComment("pCheckBox_5_10", {R"("UserPreferencesMask"=hex:90,12,01,80)"},
                                 {R"("UserPreferencesMask"=hex:9e,3e,07,80)"})),
      Standard("pCheckBox_5_1", R"([HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics])",
               {R"("MinAnimate"="0")"}, {R"("MinAnimate"="1")"}),
      // Effect keys: checked sets the effect's values, unchecked deletes them so
      // that Windows falls back to its own default; both mark the effect applied.
      Standard(
          "pCheckBox_5_1",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\AnimateMinMax])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)"}),
      Standard(
          "pCheckBox_5_2",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\ComboBoxAnimation])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)"}),
      Standard(
          "pCheckBox_5_3",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\CursorShadow])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)"}),
      Standard(
          "pCheckBox_5_4",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\DragFullWindows])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
           R"("DefaultByAlphaTest"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      Standard(
          "pCheckBox_5_5",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\DropShadow])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
           R"("DefaultByAlphaTest"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      // Unlike its neighbours, this effect and icon shadows store 1 when checked.
      Standard(
          "pCheckBox_5_6",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\ListBoxSmoothScrolling])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000001)",
           R"("DefaultByAlphaTest"=dword:00000001)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      Standard(
          "pCheckBox_5_7",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\ListviewAlphaSelect])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
           R"("DefaultByAlphaTest"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      Standard(
          "pCheckBox_5_8",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\ListviewShadow])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000001)",
           R"("DefaultByAlphaTest"=dword:00000001)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      Standard(
          "pCheckBox_5_9",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\ListviewWatermark])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
           R"("DefaultByAlphaTest"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      Standard(
          "pCheckBox_5_10",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\MenuAnimation])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
           R"("DefaultByAlphaTest"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      Standard(
          "pCheckBox_5_11",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\SelectionFade])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
           R"("DefaultByAlphaTest"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      Standard(
          "pCheckBox_5_12",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\TaskbarAnimations])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
           R"("DefaultByAlphaTest"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      Standard(
          "pCheckBox_5_13",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\Themes])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
           R"("DefaultByAlphaTest"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      Standard(
          "pCheckBox_5_14",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\TooltipAnimation])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
           R"("DefaultByAlphaTest"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      Standard(
          "pCheckBox_4_12",
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\WebView])",
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000000)",
           R"("DefaultByAlphaTest"=dword:00000000)"},
          {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
           R"("DefaultByAlphaTest"=-)"}),
      // Items 1 and 2 differ only in the smoothing type above, so here they
      // write the same lines.
      Fixed(
          R"([HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\VisualEffects\FontSmoothing])",
          Combo("pComboBox_1_1",
                {
                    {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=dword:00000001)",
                     R"("DefaultByAlphaTest"=dword:00000001)"},
                    {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
                     R"("DefaultByAlphaTest"=-)"},
                    {R"("DefaultApplied"=dword:00000001)", R"("DefaultValue"=-)",
                     R"("DefaultByAlphaTest"=-)"},
                })));
  return blocks;
}

}  // namespace kwetro
