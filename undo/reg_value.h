// A value as a registry file writes it, kept exactly: the name and a string's
// text as they stand between their quotes (escapes included), other data as
// its type and bytes.
#pragma once

#include <cstdint>
#include <string>

#include "undo/reg_types.h"

namespace kwetro::undo {

enum class ValueKind { kString, kDword, kHex };

struct RegValue {
  std::u16string rawName;  // empty for the default value (@)
  ValueKind kind = ValueKind::kString;
  std::u16string rawString;  // kString
  std::uint32_t type = 0;    // kHex: N of hex(N), kRegBinary for hex:
  std::string bytes;         // kDword (four bytes, little-endian) and kHex
};

}  // namespace kwetro::undo
