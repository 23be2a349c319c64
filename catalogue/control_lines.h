// The registry lines each control writes: what a control contributes to the
// scripts for a selection, or everything any of its states or items can
// write, state by state. Key lines and value lines, UTF-8, as the scripts hold
// them: the hklm blocks before the hkcu ones and the services last.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "options/selection.h"

namespace kwetro {

using ControlLine = std::function<void(ControlRef control, std::string_view line)>;

// For a selection: the lines each control writes in its state (a group's
// key line with each member's values). Without one (nullptr): every line
// any state or item of each control can write.
void ForEachControlLine(const Selection* selection, const ControlLine& each);

// Where a line comes from.
struct LineOrigin {
  ControlRef control;
  // What writes it: the state of an option or service, the item of a
  // drop-down list, the seconds of a spinner (its built-in value when no
  // selection is given).
  int variant = 0;
  // The key group whose key line it follows: a group is written only while
  // one of its options is not grayed. -1 for a line of no such group.
  int group = -1;
  bool perUser = false;  // in hkcu.reg, which is imported before hklm.reg
};
inline constexpr int kNoItem = -1;

// For a selection: each control that writes lines, once, in the order the
// scripts first hold its lines, with the state, item or seconds it writes.
std::vector<LineOrigin> WrittenControls(const Selection& selection);

// For each spinner, whether the scripts hold its value for the selection: a
// spinner of a key group only while the group is written.
std::vector<bool> SpinnersWritten(const Selection& selection);
using VariantLine = std::function<void(const LineOrigin& origin, std::string_view line)>;

// Every line each control can write, state by state and item by item; each
// state's lines begin with their key line, so that they read as a script of
// their own.
void ForEachVariantLine(const VariantLine& each);

}  // namespace kwetro
