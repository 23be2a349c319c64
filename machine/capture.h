// A machine as a selection: every control in the state whose lines the
// machine holds, so that the scripts of that selection, imported on that
// machine, change nothing.
#pragma once

#include <vector>

#include "machine/machine.h"
#include "options/selection.h"

namespace kwetro::machine {

struct Captured {
  Selection selection;
  // Controls whose lines are written whatever their state (a spinner, a
  // three-valued option of its own) and that the machine does not hold: the
  // scripts still change these.
  std::vector<ControlRef> unavoidable;
};

// Each option in the state the machine holds exactly, grayed where it holds
// none or several; each drop-down at the item it holds, or at none; each
// spinner at the seconds it holds; each service at its start state, with the
// preset "Из файла настроек" when every service has one, else "Стандартная
// конфигурация". A key group with a member the machine does not hold is left
// out whole (all its options grayed), as is the services section with a
// service it does not hold. Controls that write no registry line (the user's
// mark, deployment settings) keep their state in base.
Captured CaptureMachine(const Machine& machine, const Selection& base);

}  // namespace kwetro::machine
