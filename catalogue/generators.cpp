#include "catalogue/generators.h"

#include "catalogue/catalogue.h"

namespace kwetro {
namespace {

RegScript Build(const std::vector<ScriptSection>& sections, const Selection& selection) {
  RegScript script;
  script.AppendLine("Windows Registry Editor Version 5.00");
  script.AppendEmptyLine();
  for (const ScriptSection& section : sections) {
    AppendSectionHeader(script, section.title);
    for (BlocksOf blocks : section.catalogues) AppendBlocks(script, blocks(), selection);
  }
  return script;
}

}  // namespace

const std::vector<ScriptSection>& HklmSections() {
  static const std::vector<ScriptSection> sections = {
      {"СИСТЕМА", {HklmSystemBlocks}},
      {"ПРОВОДНИК", {HklmExplorerBlocks}},
  };
  return sections;
}

const std::vector<ScriptSection>& HkcuSections() {
  static const std::vector<ScriptSection> sections = {
      {"СИСТЕМА", {HkcuSystemBlocks}},
      {"ПРОВОДНИК", {HkcuExplorerBlocks, VisualEffectBlocks}},
      {"МЕДИАПЛЕЕР", {MediaPlayerBlocks}},
      {"НАСТРОЙКИ IE", {InternetExplorerBlocks}},
  };
  return sections;
}

RegScript BuildHklmScript(const Selection& selection) {
  RegScript script = Build(HklmSections(), selection);
  AppendServicesSection(script, selection);
  return script;
}

RegScript BuildHkcuScript(const Selection& selection) { return Build(HkcuSections(), selection); }

}  // namespace kwetro
