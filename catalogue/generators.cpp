#include "catalogue/generators.h"

#include "catalogue/catalogue.h"

namespace kwetro {
namespace {

void AppendFrame(RegScript& script) {
  script.AppendLine("Windows Registry Editor Version 5.00");
  script.AppendEmptyLine();
}

RegScript Build(const std::vector<ScriptSection>& sections, const Selection& selection) {
  RegScript script;
  AppendFrame(script);
  for (const ScriptSection& section : sections) {
    AppendSectionHeader(script, section.title);
    for (BlocksOf blocks : section.catalogues) AppendBlocks(script, blocks(), selection);
  }
  return script;
}

// A section's kept blocks under its header, when it keeps any.
void AppendFiltered(RegScript& script, const ScriptSection& section, const Selection& selection,
                    const KeyFilter& filter, std::string_view note) {
  RegScript kept;
  for (BlocksOf blocks : section.catalogues) AppendBlocks(kept, blocks(), selection, &filter);
  if (kept.Size() == 0) return;
  AppendSectionHeader(script, section.title, note);
  script.Append(kept);
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

RegScript BuildFilteredScript(const Selection& selection, const KeyFilter& filter) {
  RegScript script;
  AppendFrame(script);
  for (const ScriptSection& section : HkcuSections())
    AppendFiltered(script, section, selection, filter, {});
  for (const ScriptSection& section : HklmSections())
    AppendFiltered(script, section, selection, filter, "из hklm.reg");
  return script;
}

}  // namespace kwetro
