#include "machine/capture.h"

#include <algorithm>
#include <map>

#include "catalogue/control_lines.h"
#include "machine/audit.h"

namespace kwetro::machine {
namespace {

void SetPreset(Selection& selection, TriState state) {
  selection.options[static_cast<std::size_t>(PresetOption())] = state;
  selection.presetShown = state;
}

// The options of each key group.
struct Groups {
  std::map<int, std::vector<int>> options;

  Groups() {
    for (std::size_t i = 0; i < Controls().options.size(); ++i)
      for (const Variant& v : TheModel().Of({ControlKind::kOption, static_cast<int>(i)}).variants)
        if (v.group >= 0 &&
            (options[v.group].empty() || options[v.group].back() != static_cast<int>(i)))
          options[v.group].push_back(static_cast<int>(i));
  }
};

// The lines a control writes in the state, item or seconds it is written in.
std::vector<Effect> WrittenLines(const LineOrigin& written) {
  return TheModel().Of(written.control).LinesOf(written.variant);
}

// The key group a control's lines are written in, or -1.
int GroupOf(ControlRef control) {
  for (const Variant& v : TheModel().Of(control).variants)
    if (v.group >= 0) return v.group;
  return -1;
}

// Each control in the one state the machine holds of it.
void TakeHeldStates(const Machine& machine, Selection& s) {
  bool everyService = true;
  for (const ControlState& state : AuditMachine(machine, s)) {
    const auto i = static_cast<std::size_t>(state.control.index);
    const std::optional<int> one = OnlyHeld(state.held);
    switch (state.control.kind) {
      case ControlKind::kOption:
        if (state.writes && state.control.index != PresetOption())
          s.options[i] = one ? static_cast<TriState>(*one) : cbGrayed;
        break;
      case ControlKind::kCombo:
        s.combos[i] = one.value_or(kNoItem);
        break;
      case ControlKind::kSpinner:
        if (one) s.spinners[i] = *one;
        break;
      case ControlKind::kService:
        if (one) s.services[i] = static_cast<TriState>(*one);
        everyService = everyService && one;
        break;
    }
  }
  SetPreset(s, everyService ? cbChecked : cbGrayed);
}

}  // namespace

Captured CaptureMachine(const Machine& machine, const Selection& base) {
  Captured c{base, {}};
  Selection& s = c.selection;
  TakeHeldStates(machine, s);
  // What the selection writes must hold, control by control. A control that
  // does not leaves out what can be left out: the services section, the key
  // group.
  static const Groups groups;
  for (bool changed = true; changed;) {
    changed = false;
    for (const LineOrigin& written : WrittenControls(s)) {
      const ControlRef control = written.control;
      if (HoldsAll(WrittenLines(written), machine)) continue;
      const int group = GroupOf(control);
      if (control.kind == ControlKind::kService && s.ServicesEnabled()) {
        SetPreset(s, cbGrayed);
        changed = true;
      } else if (group >= 0) {
        for (int option : groups.options.at(group)) {
          changed = changed || s.options[static_cast<std::size_t>(option)] != cbGrayed;
          s.options[static_cast<std::size_t>(option)] = cbGrayed;
        }
      } else if (std::find(c.unavoidable.begin(), c.unavoidable.end(), control) ==
                 c.unavoidable.end()) {
        c.unavoidable.push_back(control);
      }
      if (changed) break;
    }
  }
  return c;
}

}  // namespace kwetro::machine
