// A machine as the audit sees it: the answer of its registry at every probe
// of the model, read once. Judging the controls against it touches the
// registry no more, so the window can do it on every click.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
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

// Whether importing the line, or every one of the lines, would leave the
// machine as it is.
bool Holds(const Effect& effect, const Machine& machine);
bool HoldsAll(const std::vector<Effect>& effects, const Machine& machine);

// Data as the people who read them see them: the number of a REG_DWORD; the
// text of data that hold one UTF-16 string and its terminating NUL (a
// REG_SZ, REG_EXPAND_SZ), whatever the type says. Nothing for other data.
std::optional<std::uint32_t> DwordOf(const RegData& data);
std::optional<std::u16string> StringOf(const RegData& data);

}  // namespace kwetro::machine
