#include "catalogue/generators.h"

#include "catalogue/catalogue.h"

namespace kwetro {
namespace {

void AppendFrame(RegScript& script) {
  script.AppendLine("Windows Registry Editor Version 5.00");
  script.AppendEmptyLine();
  AppendSectionHeader(script, "СИСТЕМА");
}

}  // namespace

RegScript BuildHklmScript(const Selection& selection) {
  RegScript script;
  AppendFrame(script);
  AppendBlocks(script, HklmSystemBlocks(), selection);
  AppendSectionHeader(script, "ПРОВОДНИК");
  AppendBlocks(script, HklmExplorerBlocks(), selection);
  AppendServicesSection(script, selection);
  return script;
}

RegScript BuildHkcuScript(const Selection& selection) {
  RegScript script;
  AppendFrame(script);
  AppendBlocks(script, HkcuSystemBlocks(), selection);
  AppendSectionHeader(script, "ПРОВОДНИК");
  AppendBlocks(script, HkcuExplorerBlocks(), selection);
  AppendBlocks(script, VisualEffectBlocks(), selection);
  AppendSectionHeader(script, "МЕДИАПЛЕЕР");
  AppendBlocks(script, MediaPlayerBlocks(), selection);
  AppendSectionHeader(script, "НАСТРОЙКИ IE");
  AppendBlocks(script, InternetExplorerBlocks(), selection);
  return script;
}

}  // namespace kwetro
