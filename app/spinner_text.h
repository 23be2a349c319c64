// What the user typed into a spinner's field, as the number it stores.
#pragma once

#include <optional>
#include <string>

namespace kwetro {

struct SpinnerEntry {
  int value = 0;      // the number stored: the one typed, or the nearest end of the range
  std::wstring note;  // why another number is stored than the one typed; empty when none
};

// A whole decimal number (blanks before it and a sign allowed, nothing after
// it) in the range min..max; a spinner whose range is empty (min == max)
// takes any number, as the settings file does. Nothing for a text that is no
// number, which leaves the stored value as it was.
std::optional<SpinnerEntry> ReadSpinnerText(const std::wstring& text, int min, int max);

}  // namespace kwetro
