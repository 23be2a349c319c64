#include "options/number_text.h"

namespace kwetro {

std::string HexDigits(std::uint64_t value, int digits) {
  char text[16];  // every digit of 64 bits
  std::size_t start = sizeof text;
  do {
    text[--start] = "0123456789abcdef"[value & 15];
    value >>= 4;
  } while (start > 0 && (value || sizeof text - start < static_cast<std::size_t>(digits)));
  return std::string(text + start, sizeof text - start);
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
