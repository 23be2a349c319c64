#include "catalogue/control_lines.h"

#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/generators.h"

namespace kwetro {
namespace {

// As the script holds them: string data escaped.
void EachLine(const Lines& lines, ControlRef control, const ControlLine& each) {
  std::string room;
  for (Line line : lines) each(control, ScriptLine(line, room));
}

void OptionLines(const OptionBlock& block, const Selection* selection, const ControlLine& each) {
  const ControlRef control{ControlKind::kOption, block.option};
  for (TriState state : {cbChecked, cbUnchecked, cbGrayed}) {
    if (selection && selection->State(block.option) != state) continue;
    for (const KeySection& section : block.states[state].sections) {
      EachLine(section.keys, control, each);
      EachLine(section.values, control, each);
    }
  }
}

void GroupLines(const GroupBlock& group, const Selection* selection, const ControlLine& each) {
  if (selection && !GroupWritten(group, *selection)) return;
  for (const GroupItem& item : group.items) {
    switch (item.kind) {
      case GroupItem::kMember: {
        const ControlRef control{ControlKind::kOption, item.control};
        const TriState state = selection ? selection->State(item.control) : cbChecked;
        if (selection && item.values[state].empty()) break;
        each(control, group.key);
        for (TriState s : {cbChecked, cbUnchecked, cbGrayed})
          if (!selection || s == state) EachLine(item.values[s], control, each);
        break;
      }
      case GroupItem::kCombo: {
        const ControlRef control{ControlKind::kCombo, item.control};
        each(control, group.key);
        const int index =
            selection ? selection->combos[static_cast<std::size_t>(item.control)] : -1;
        for (std::size_t i = 0; i < item.byIndex.size(); ++i)
          if (!selection || static_cast<int>(i) == index) EachLine(item.byIndex[i], control, each);
        break;
      }
      case GroupItem::kSpinnerMillis: {
        const ControlRef control{ControlKind::kSpinner, item.control};
        each(control, group.key);
        if (!selection) {
          each(control, item.text);
          break;
        }
        each(control, SpinnerMillisLine(
                          item.text, selection->spinners[static_cast<std::size_t>(item.control)]));
        break;
      }
      case GroupItem::kComment:
        break;
    }
  }
}

}  // namespace

void ForEachControlLine(const Selection* selection, const ControlLine& each) {
  for (const auto* script : {&HklmSections(), &HkcuSections()})
    for (const ScriptSection& section : *script)
      for (BlocksOf blocks : section.catalogues)
        for (const Block& block : blocks()) {
          if (const auto* option = std::get_if<OptionBlock>(&block))
            OptionLines(*option, selection, each);
          else
            GroupLines(std::get<GroupBlock>(block), selection, each);
        }
  if (selection && !selection->ServicesEnabled()) return;
  const auto& services = Controls().services;
  std::string key;
  for (std::size_t i = 0; i < services.size(); ++i) {
    const ControlRef control{ControlKind::kService, static_cast<int>(i)};
    each(control, ServiceKeyLine(services[i], key));
    for (TriState state : {cbChecked, cbGrayed, cbUnchecked})
      if (!selection || selection->services[i] == state) each(control, ServiceStartLine(state));
  }
}

std::vector<bool> SpinnersWritten(const Selection& selection) {
  std::vector<bool> written(Controls().spinners.size(), false);
  ForEachControlLine(&selection, [&written](ControlRef control, std::string_view) {
    if (control.kind == ControlKind::kSpinner)
      written[static_cast<std::size_t>(control.index)] = true;
  });
  return written;
}

}  // namespace kwetro
