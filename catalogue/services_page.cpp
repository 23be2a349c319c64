#include "catalogue/services_page.h"

#include <string>

#include "app/file_io.h"
#include "app/ini_file.h"
#include "app/settings_file.h"
#include "options/blocks.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

constexpr TriState A = cbChecked;    // automatic start
constexpr TriState M = cbGrayed;     // manual start
constexpr TriState D = cbUnchecked;  // disabled

const char kServicesKeyPrefix[] = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";

// Start value by item state, indexed by TriState.
const char* const kStartLines[] = {
    "\"Start\"=dword:00000004",  // cbUnchecked: disabled
    "\"Start\"=dword:00000002",  // cbChecked: automatic
    "\"Start\"=dword:00000003",  // cbGrayed: manual
};

struct PresetTexts {
  std::string optimal = Utf8ToCp1251("Оптимальная");
  std::string fromFile = Utf8ToCp1251("Из файла настроек");
  std::string standard = Utf8ToCp1251("Стандартная конфигурация");
  std::string title = Utf8ToCp1251("СЕРВИСЫ И СЛУЖБЫ");
  std::string legend = Utf8ToCp1251("00000002 - Авто; 00000003 - Вручную; 00000004 - Отключить;");
};

const PresetTexts& ServiceTexts() {
  static const PresetTexts texts;
  return texts;
}

}  // namespace

const std::array<TriState, kServiceCount>& OptimalServiceStates() {
  static const std::array<TriState, kServiceCount> states = {
      D, A, D, A, D, D, M, M, A, M,  // 0-9
      D, D, A, D, A, D, A, A, D, M,  // 10-19
      M, M, D, D, D, D, D, A, A, M,  // 20-29
      M, M, A, M, D, D, D, D, D, A,  // 30-39
      M, A, M, M, M, D, D, M, A, D,  // 40-49
      M, D, D, D, M, D, M, D, A, M,  // 50-59
      D, M, D, M, M, A, M, A, A, A,  // 60-69
      D, D, A, D, M, M, M, D, D,     // 70-78
  };
  return states;
}

std::size_t LastPos(std::string_view pattern, std::string_view text) {
  if (pattern.empty() || pattern.size() > text.size()) return 0;
  const std::size_t at = text.rfind(pattern);
  return at == std::string_view::npos ? 0 : at + 1;
}

void ApplyServicesPreset(Form& form) {
  const int preset = OptionIndex("srCheckBox_1_1");
  OptionControl& box = form.options[static_cast<std::size_t>(preset)];
  ServicesList& list = form.services;
  switch (box.state) {
    case cbUnchecked: {
      box.caption = ServiceTexts().optimal;
      list.enabled = true;
      list.color = 0xFFFFFF;
      const auto& optimal = OptimalServiceStates();
      for (std::size_t i = 0; i < list.states.size() && i < optimal.size(); ++i)
        list.states[i] = optimal[i];
      break;
    }
    case cbChecked: {
      // Without a settings file there is nothing to load: everything stays.
      if (!FileExists(form.settingsPath)) return;
      box.caption = ServiceTexts().fromFile;
      list.enabled = true;
      std::string bytes, reason;
      if (ReadWholeFile(form.settingsPath, bytes, reason))
        ApplyStoredServiceStates(IniFile::ParseSection(std::move(bytes), kServicesSection), list);
      break;
    }
    case cbGrayed:
      box.caption = ServiceTexts().standard;
      list.enabled = false;
      break;
  }
}

void AppendServicesSection(RegScript& script, const Form& form) {
  const ServicesList& list = form.services;
  if (!list.enabled) return;
  script.AppendLine(SeparatorLine());
  script.AppendComment(ServiceTexts().title);
  script.AppendComment(ServiceTexts().legend);
  script.AppendLine(SeparatorLine());
  script.AppendEmptyLine();

  std::string key;
  for (std::size_t i = 0; i < list.items.size(); ++i) {
    const std::string_view text = list.items[i];
    const std::size_t star = LastPos("*", text);
    // The display text ends three characters before the "*".
    const std::size_t shown = star > 4 ? star - 4 : 0;
    script.AppendComment(text.substr(0, shown));
    key.assign(kServicesKeyPrefix).append(text.substr(star)).append("]");
    script.AppendLine(key);
    script.AppendLine(kStartLines[list.states[i]]);
    script.AppendEmptyLine();
  }
}

}  // namespace kwetro
