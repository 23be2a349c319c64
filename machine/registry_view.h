// The registry of a machine as the audit reads it: whether a key exists, and
// a value's type and data. Two kinds answer: an export of the whole registry
// (export_registry.h, any platform) and the live registry of the machine the
// program runs on (live_registry.h, Windows), which is only ever read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "undo/reg_names.h"
#include "undo/reg_types.h"

namespace kwetro::machine {

// A value's type (undo/reg_types.h) and its bytes as the registry holds them:
// strings in UTF-16LE with their terminating NUL.
struct RegData {
  std::uint32_t type = 0;
  std::string bytes;

  bool operator==(const RegData& other) const { return type == other.type && bytes == other.bytes; }
};

// What a look-up found. kUnreadable: the key exists but refuses reading, so
// no line about it can be said to hold.
enum class Found { kAbsent, kPresent, kUnreadable };

class RegistryView {
 public:
  virtual ~RegistryView() = default;
  // path: below the root, components separated by backslashes.
  virtual Found Key(undo::Root root, std::u16string_view path) const = 0;
  // name: empty for the key's default value.
  virtual Found Value(undo::Root root, std::u16string_view path, std::u16string_view name,
                      RegData& data) const = 0;
};

}  // namespace kwetro::machine
