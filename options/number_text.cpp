#include "options/number_text.h"

namespace kwetro {

std::string HexDigits(std::uint64_t value, int digits) {
  std::string text;
  for (; value || static_cast<int>(text.size()) < digits; value >>= 4)
    text.insert(text.begin(), "0123456789abcdef"[value & 15]);
  return text;
}

std::string ZeroPadded(int value, int digits) {
  std::string text = std::to_string(value);
  const std::size_t sign = value < 0 ? 1 : 0;
  if (static_cast<int>(text.size()) < digits)
    text.insert(sign, static_cast<std::size_t>(digits) - text.size(), '0');
  return text;
}

std::wstring WideDecimal(long long value) {
  const std::string digits = std::to_string(value);
  return std::wstring(digits.begin(), digits.end());
}

}  // namespace kwetro
