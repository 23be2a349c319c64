// Edits carried out on one hive in memory, as REGEDIT carries them out on a
// running registry, and what each changed: a line whose key or value is
// already as it says changes nothing and is not reported.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "offline/hive_file.h"
#include "offline/script_edits.h"

namespace kwetro::offline {

struct Change {
  Edit::Kind kind = Edit::Kind::kKey;
  std::u16string path;  // below the hive's root
  std::u16string name;
  std::optional<machine::RegData> before;  // of a value that was there
  machine::RegData after;                  // kValue
};

// False with the reason when the hive refuses a change (damaged, a value too
// large for libhivex, a deletion of the hive's root).
bool ApplyEdits(Hive& hive, const std::vector<const Edit*>& edits, std::vector<Change>& changes,
                std::string& reason);

}  // namespace kwetro::offline
