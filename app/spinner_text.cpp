#include "app/spinner_text.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "options/number_text.h"

namespace kwetro {

std::optional<SpinnerEntry> ReadSpinnerText(const std::wstring& text, int min, int max) {
  wchar_t* end = nullptr;
  // As Windows reads it, whose long has 32 bits: a longer number stops at
  // the end of that range.
  const long long typed =
      std::clamp<long long>(std::wcstol(text.c_str(), &end, 10), INT32_MIN, INT32_MAX);
  if (end == text.c_str() || *end != L'\0') return std::nullopt;
  const auto value = static_cast<int>(min == max ? typed : std::clamp<long long>(typed, min, max));
  SpinnerEntry entry{value, {}};
  if (value != typed)
    entry.note = L"Допустимо от " + WideDecimal(min) + L" до " + WideDecimal(max) + L": вместо " +
                 text + L" записывается " + WideDecimal(value) + L".";
  return entry;
}

}  // namespace kwetro
