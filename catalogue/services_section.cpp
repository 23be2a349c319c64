// "; СЕРВИСЫ И СЛУЖБЫ", the section that closes hklm.reg: the start state of
// every service of the list, while the list is enabled.
#include "catalogue/generators.h"
#include "options/blocks.h"

namespace kwetro {
namespace {

// By item state: unchecked disabled, checked automatic, grayed manual.
const char* const kStartLines[] = {
    "\"Start\"=dword:00000004",
    "\"Start\"=dword:00000002",
    "\"Start\"=dword:00000003",
};

}  // namespace

std::string_view ServiceKeyLine(const ServiceDecl& service, std::string& room) {
  return room.assign("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\")
      .append(service.key)
      .append("]");
}

std::string_view ServiceStartLine(TriState state) { return kStartLines[state]; }

void AppendServicesSection(RegScript& script, const Selection& selection) {
  if (!selection.ServicesEnabled()) return;
  const std::size_t section = script.Size();
  AppendSectionHeader(script, "СЕРВИСЫ И СЛУЖБЫ",
                      "00000002 - Авто; 00000003 - Вручную; 00000004 - Отключить;");
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
