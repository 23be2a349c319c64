// A machine judged against a selection, control by control in the window's
// order: the states whose lines the machine already holds, and whether it
// holds what the selection writes. Nothing is read from any registry here
// (machine.h has read it): the window can judge again on every click.
//
// In the window: ReadMachine(LiveRegistry(user)) once, when asked or after
// the window shows, and again on demand; AuditMachine(machine, selection)
// after every change of the selection, for the marks beside the captions and
// the machine's state on the information line; CaptureMachine (capture.h)
// for a selection made of the machine.
#pragma once

#include <optional>
#include <vector>

#include "machine/machine.h"
#include "options/selection.h"

namespace kwetro::machine {

enum class Match {
  kYes,           // the machine holds every line the selection writes for the control
  kNo,            // it does not
  kNotWritten,    // the selection writes no line for the control
  kWrittenLater,  // a later control of the selection writes one of its keys or values again
};

// A line the machine does not hold, and what the machine has there.
struct Difference {
  Effect line;
  Fact machine;
};

struct ControlState {
  ControlRef control;
  int selected = 0;     // the state, item or seconds the selection has
  bool writes = false;  // some state, item or value of the control writes registry lines
  // The states, items or seconds whose every line the machine holds: for an
  // option checked, unchecked, grayed (a three-valued option's third
  // setting); for a drop-down its items; for a spinner its seconds. For the
  // services preset: checked when every service holds one start state (the
  // preset "Из файла настроек" can keep them), unchecked besides when that is
  // the optimal configuration.
  std::vector<int> held;
  // None held, but some lines of the reference are (a group of values where
  // one differs).
  bool partly = false;
  // What the differences are against: the state the selection writes, or
  // else the one the machine comes closest to.
  std::optional<int> reference;
  std::vector<Difference> differences;
  Match match = Match::kNotWritten;
  // kWrittenLater: the control that writes again, and the key or value.
  ControlRef later{ControlKind::kOption, -1};
  int laterProbe = -1;
};

std::vector<ControlState> AuditMachine(const Machine& machine, const Selection& selection);

// The state, item or seconds a machine holds of a control when it holds
// exactly one: what a capture takes, and of a service the start state the
// services preset can keep. Nothing when it holds none or several.
std::optional<int> OnlyHeld(const std::vector<int>& held);

// How many services of an audit hold none of their start states: the reason
// the services preset cannot keep them all.
int ServicesWithoutState(const std::vector<ControlState>& states);

// The state, item or seconds the selection has for a control.
int SelectedState(const Selection& selection, ControlRef control);

// Whether a later line changes again what an earlier one did: sets or deletes
// the same value, deletes the key (or one above it), or makes anew a key the
// earlier line deleted (or one below it).
bool WritesAgain(const Effect& later, const Effect& earlier);

}  // namespace kwetro::machine
