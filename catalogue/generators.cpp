#include "catalogue/generators.h"

#include "catalogue/catalogue.h"
#include "catalogue/services_page.h"
#include "options/text_encoding.h"

namespace kwetro {
namespace {

struct Titles {
  std::string system = Utf8ToCp1251("СИСТЕМА");
  std::string explorer = Utf8ToCp1251("ПРОВОДНИК");
  std::string mediaPlayer = Utf8ToCp1251("МЕДИАПЛЕЕР");
  std::string internetExplorer = Utf8ToCp1251("НАСТРОЙКИ IE");
};

const Titles& SectionTitles() {
  static const Titles titles;
  return titles;
}

void AppendFrame(RegScript& script) {
  script.AppendLine("Windows Registry Editor Version 5.00");
  script.AppendEmptyLine();
  AppendSectionHeader(script, SectionTitles().system);
}

}  // namespace

RegScript BuildHklmScript(const Form& form) {
  RegScript script;
  AppendFrame(script);
  AppendBlocks(script, HklmSystemBlocks(), form);
  AppendSectionHeader(script, SectionTitles().explorer);
  AppendBlocks(script, HklmExplorerBlocks(), form);
  AppendServicesSection(script, form);
  return script;
}

RegScript BuildHkcuScript(const Form& form) {
  RegScript script;
  AppendFrame(script);
  AppendBlocks(script, HkcuSystemBlocks(), form);
  AppendSectionHeader(script, SectionTitles().explorer);
  AppendBlocks(script, HkcuExplorerBlocks(), form);
  AppendBlocks(script, VisualEffectBlocks(), form);
  AppendSectionHeader(script, SectionTitles().mediaPlayer);
  AppendBlocks(script, MediaPlayerBlocks(), form);
  AppendSectionHeader(script, SectionTitles().internetExplorer);
  AppendBlocks(script, InternetExplorerBlocks(), form);
  return script;
}

}  // namespace kwetro
