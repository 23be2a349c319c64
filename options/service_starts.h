// The start modes of a Windows service, each with the item state that
// chooses it in the services list, the Start value its key gets, the word of
// kwetro-cli (list, set, audit) and the word the window and the scripts show
// (the services page's legend, the information line, the header of the
// scripts' services section).
#pragma once

#include <cstdint>
#include <string_view>

#include "options/tri_state.h"

namespace kwetro {

// The item state of each mode.
inline constexpr TriState kAutomatic = cbChecked, kManual = cbGrayed, kDisabled = cbUnchecked;

struct ServiceStart {
  TriState state;
  std::uint32_t start;  // the "Start" DWORD under the service's key
  std::string_view word;
  std::string_view shown;
};

// In the order of their Start values.
inline constexpr ServiceStart kServiceStarts[] = {
    {kAutomatic, 2, "auto", "Авто"},
    {kManual, 3, "manual", "Вручную"},
    {kDisabled, 4, "disabled", "Отключить"},
};

constexpr const ServiceStart& StartOf(TriState state) {
  for (const ServiceStart& s : kServiceStarts)
    if (s.state == state) return s;
  return kServiceStarts[0];
}

}  // namespace kwetro
