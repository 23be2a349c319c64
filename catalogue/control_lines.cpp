#include "catalogue/control_lines.h"

#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/generators.h"

namespace kwetro {
namespace {

// Walks the catalogue: for a selection, the state each control is in; without
// one, every state and item.
class Walk {
 public:
  Walk(const Selection* selection, const VariantLine& each) : selection_(selection), each_(each) {}

  void Run() {
    for (const auto* script : {&HklmSections(), &HkcuSections()}) {
      perUser_ = script == &HkcuSections();
      for (const ScriptSection& section : *script)
        for (BlocksOf blocks : section.catalogues)
          for (const Block& block : blocks()) {
            if (const auto* option = std::get_if<OptionBlock>(&block))
              Option(*option);
            else
              Group(std::get<GroupBlock>(block));
          }
    }
    perUser_ = false;
    Services();
  }

 private:
  bool Chosen(ControlRef control, int variant) const {
    if (!selection_) return true;
    const auto i = static_cast<std::size_t>(control.index);
    switch (control.kind) {
      case ControlKind::kOption:
        return selection_->options[i] == variant;
      case ControlKind::kCombo:
        return selection_->combos[i] == variant;
      case ControlKind::kSpinner:
        return true;
      case ControlKind::kService:
        return selection_->services[i] == variant;
    }
    return false;
  }

  // As the script holds them: string data escaped.
  void Lines(const LineOrigin& origin, const Lines& lines) {
    std::string room;
    for (Line line : lines) each_(origin, ScriptLine(line, room));
  }

  void Option(const OptionBlock& block) {
    for (TriState state : {cbChecked, cbUnchecked, cbGrayed}) {
      const LineOrigin origin{{ControlKind::kOption, block.option}, state, -1, perUser_};
      if (!Chosen(origin.control, state)) continue;
      for (const KeySection& section : block.states[state].sections) {
        Lines(origin, section.keys);
        Lines(origin, section.values);
      }
    }
  }

  void Group(const GroupBlock& group) {
    const int id = group.fixed ? -1 : groups_++;
    if (selection_ && !GroupWritten(group, *selection_)) return;
    for (const GroupItem& item : group.items) {
      switch (item.kind) {
        case GroupItem::kMember:
          for (TriState state : {cbChecked, cbUnchecked, cbGrayed}) {
            const LineOrigin origin{{ControlKind::kOption, item.control}, state, id, perUser_};
            if (item.values[state].empty() || !Chosen(origin.control, state)) continue;
            each_(origin, group.key);
            Lines(origin, item.values[state]);
          }
          break;
        case GroupItem::kCombo: {
          const ControlRef control{ControlKind::kCombo, item.control};
          for (std::size_t i = 0; i < item.byIndex.size(); ++i) {
            const LineOrigin origin{control, static_cast<int>(i), id, perUser_};
            if (!Chosen(control, origin.variant)) continue;
            each_(origin, group.key);
            Lines(origin, item.byIndex[i]);
          }
          break;
        }
        case GroupItem::kSpinnerMillis: {
          const auto i = static_cast<std::size_t>(item.control);
          const int seconds = selection_ ? selection_->spinners[i] : Controls().spinners[i].builtIn;
          const LineOrigin origin{{ControlKind::kSpinner, item.control}, seconds, id, perUser_};
          each_(origin, group.key);
          each_(origin, SpinnerMillisLine(item.text, seconds));
          break;
        }
        case GroupItem::kComment:
          break;
      }
    }
  }

  void Services() {
    if (selection_ && !selection_->ServicesEnabled()) return;
    const auto& services = Controls().services;
    std::string key;
    for (std::size_t i = 0; i < services.size(); ++i) {
      for (TriState state : {cbChecked, cbGrayed, cbUnchecked}) {
        const LineOrigin origin{{ControlKind::kService, static_cast<int>(i)}, state, -1, false};
        if (!Chosen(origin.control, state)) continue;
        each_(origin, ServiceKeyLine(services[i], key));
        each_(origin, ServiceStartLine(state));
      }
    }
  }

  const Selection* selection_;
  const VariantLine& each_;
  int groups_ = 0;
  bool perUser_ = false;
};

}  // namespace

void ForEachControlLine(const Selection* selection, const ControlLine& each) {
  Walk(selection, [&each](const LineOrigin& origin, std::string_view line) {
    each(origin.control, line);
  }).Run();
}

std::vector<LineOrigin> WrittenControls(const Selection& selection) {
  std::vector<LineOrigin> written;
  std::vector<bool> seen[4];
  Walk(&selection, [&](const LineOrigin& origin, std::string_view) {
    auto& marks = seen[static_cast<int>(origin.control.kind)];
    const auto i = static_cast<std::size_t>(origin.control.index);
    if (i >= marks.size()) marks.resize(i + 1);
    if (marks[i]) return;
    marks[i] = true;
    written.push_back(origin);
  }).Run();
  return written;
}

std::vector<bool> SpinnersWritten(const Selection& selection) {
  std::vector<bool> written(Controls().spinners.size(), false);
  for (const LineOrigin& origin : WrittenControls(selection))
    if (origin.control.kind == ControlKind::kSpinner)
      written[static_cast<std::size_t>(origin.control.index)] = true;
  return written;
}

void ForEachVariantLine(const VariantLine& each) { Walk(nullptr, each).Run(); }

}  // namespace kwetro
