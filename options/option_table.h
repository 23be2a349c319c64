// The fixed facts of every option check box: its name and the captions (and,
// for one option, hints) that its click handler sets for each state.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "options/tri_state.h"

namespace kwetro {

enum class OptionRole {
  kOption,          // an ordinary option: its handler sets the caption
  kServicesPreset,  // srCheckBox_1_1: the handler also applies a services preset
  kNoHandler,       // RzCheckBox1: no click handler at all
};

struct OptionDef {
  std::string name;
  OptionRole role = OptionRole::kOption;
  // Caption for each state, indexed by TriState; Windows-1251.
  std::array<std::string, 3> captions;
  // Non-empty only for the option whose hint explains the chosen level.
  std::array<std::string, 3> hints;
  // The first eleven system options stop the deployment countdown when clicked.
  bool stopsCountdown = false;
};

// All 155 option check boxes. Built once; the index into this table is the
// option's identity throughout the engine.
const std::vector<OptionDef>& OptionDefs();

// Index of the named option, or -1. Names match exactly.
int FindOption(std::string_view name);

// Index of the named option; throws std::logic_error for an unknown name
// (used where the name is a literal of the program).
int OptionIndex(std::string_view name);

}  // namespace kwetro
