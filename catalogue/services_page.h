// The services page: the three presets of the services list and the services
// section that closes hklm.reg.
#pragma once

#include <array>
#include <string_view>

#include "options/form.h"
#include "options/reg_script.h"

namespace kwetro {

constexpr int kServiceCount = 79;

// The built-in optimal configuration, by list index.
const std::array<TriState, kServiceCount>& OptimalServiceStates();

// The preset box's handler: applies the preset of its current state.
void ApplyServicesPreset(Form& form);

// The "; СЕРВИСЫ И СЛУЖБЫ" section; nothing while the list is disabled.
void AppendServicesSection(RegScript& script, const Form& form);

// 1-based position where the last occurrence of pattern in text begins; 0 when
// there is none.
std::size_t LastPos(std::string_view pattern, std::string_view text);

}  // namespace kwetro
