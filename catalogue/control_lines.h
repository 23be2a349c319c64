// The registry lines each control writes: what a control contributes to the
// scripts for a selection, or everything any of its states or items can
// write. Key lines and value lines, UTF-8: the hkcu blocks after the hklm
// ones and the services last; without a selection a spinner gives only its
// value name.
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

// For each spinner, whether the scripts hold its value for the selection: a
// spinner of a key group only while the group is written.
std::vector<bool> SpinnersWritten(const Selection& selection);

}  // namespace kwetro
