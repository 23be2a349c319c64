// The three states of an option check box and of a services-list item.
#pragma once

#include <cstdint>

namespace kwetro {

enum TriState : std::uint8_t {
  cbUnchecked = 0,  // restore the standard Windows setting
  cbChecked = 1,    // apply the change
  cbGrayed = 2,     // skip: nothing is written
};

constexpr bool IsTriState(int value) { return value >= 0 && value <= 2; }

// A click on a box, an option's or a service's: unchecked, grayed (where a
// box allows it), checked, unchecked again.
constexpr TriState NextOnClick(TriState state, bool allowGrayed = true) {
  if (state == cbUnchecked) return allowGrayed ? cbGrayed : cbChecked;
  return state == cbChecked ? cbUnchecked : cbChecked;
}

}  // namespace kwetro
