// "; СЕРВИСЫ И СЛУЖБЫ", the section that closes hklm.reg: the start state of
// every service of the list, while the list is enabled.
#include <string>

#include "catalogue/generators.h"
#include "options/blocks.h"
#include "options/number_text.h"
#include "options/service_starts.h"

namespace kwetro {
namespace {

// By item state, made once.
const std::string* StartLines() {
  static const std::string* lines = [] {
    auto* made = new std::string[3];
    for (const ServiceStart& s : kServiceStarts)
      made[s.state] = "\"Start\"=dword:" + HexDigits(s.start, 8);
    return made;
  }();
  return lines;
}

// "00000002 - Авто; ..." under the section's title.
std::string StartWords() {
  std::string words;
  for (const ServiceStart& s : kServiceStarts)
    words.append(words.empty() ? "" : " ").append(HexDigits(s.start, 8) + " - ").append(s.shown) +=
        ';';
  return words;
}

}  // namespace

std::string_view ServiceKeyLine(const ServiceDecl& service, std::string& room) {
  return room.assign("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\")
      .append(service.key)
      .append("]");
}

std::string_view ServiceStartLine(TriState state) { return StartLines()[state]; }

void AppendServicesSection(RegScript& script, const Selection& selection) {
  if (!selection.ServicesEnabled()) return;
  const std::size_t section = script.Size();
  AppendSectionHeader(script, "СЕРВИСЫ И СЛУЖБЫ", StartWords());
  const auto& services = Controls().services;
  std::string key;
  for (std::size_t i = 0; i < services.size(); ++i) {
    const std::size_t begin = script.Size();
    // Each service's comment line comes before its key line.
    script.AppendComment(services[i].display);
    script.AppendLine(ServiceKeyLine(services[i], key));
    script.AppendLine(ServiceStartLine(selection.services[i]));
    script.AppendEmptyLine();
    script.Mark({ControlKind::kService, static_cast<int>(i)}, begin);
  }
  // The whole section is what the preset box chose.
  script.Mark({ControlKind::kOption, PresetOption()}, section);
}

}  // namespace kwetro
