// What registry scripts do, line by line, as REGEDIT imports them, each line
// placed in the hive file that holds its key: a key line makes the key (and
// the keys above it), a deletion deletes the key with everything below it, a
// value line sets the value with the type and bytes REGEDIT of Windows stores
// (strings in UTF-16LE with their terminator, hex(2) and hex(7) bytes as
// written), "name"=- deletes it.
#pragma once

#include <string>
#include <vector>

#include "machine/registry_view.h"
#include "offline/routing.h"

namespace kwetro::offline {

struct Edit {
  enum class Kind { kKey, kNoKey, kValue, kNoValue };
  Kind kind = Kind::kKey;
  Place place;
  std::u16string name;    // of a value; empty for the default value
  machine::RegData data;  // kValue
};

// The edits of the scripts (their bytes, Windows-1251 without a byte-order
// mark, as the generators write them), in the order REGEDIT would import
// them. False, with the problem in words, when a line is not one REGEDIT
// imports whole or names a key no hive file holds: the scripts are then not
// applied at all.
bool EditsOf(const std::vector<std::string>& scripts, std::u16string_view controlSet,
             std::vector<Edit>& edits, std::string& problem);

}  // namespace kwetro::offline
