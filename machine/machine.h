// A machine as the audit sees it: the answer of its registry at every probe
// of the model, read once. Judging the controls against it touches the
// registry no more, so the window can do it on every click.
#pragma once

#include <vector>

#include "machine/control_model.h"
#include "machine/registry_view.h"

namespace kwetro::machine {

struct Fact {
  Found found = Found::kAbsent;
  RegData data;  // of a value found
};

struct Machine {
  std::vector<Fact> facts;  // by probe of TheModel()
};

Machine ReadMachine(const RegistryView& registry);

// Whether importing the line would leave the machine as it is.
bool Holds(const Effect& effect, const Machine& machine);

}  // namespace kwetro::machine
