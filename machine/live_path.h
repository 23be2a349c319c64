// Where the registry of the machine the program runs on holds a key the
// model names: the root key to open it under and the path below that.
//
// HKEY_CLASSES_ROOT is read as the machine's classes,
// HKEY_LOCAL_MACHINE\Software\Classes, which is what an export of the whole
// registry and the hive files hold under that name. Windows' own
// HKEY_CLASSES_ROOT merges the user's classes over the machine's: read
// there, the same machine would audit one way live and another from its
// export. HKEY_CURRENT_USER is the chosen user's hive under HKEY_USERS, or
// the running user's own.
#pragma once

#include <string>
#include <string_view>

#include "undo/reg_names.h"

namespace kwetro::machine {

struct LivePath {
  undo::Root root;
  std::u16string path;
};

// user: the SID of the user whose hive stands for HKEY_CURRENT_USER; empty
// for the user the program runs as.
LivePath LivePathOf(undo::Root root, std::u16string_view path, std::u16string_view user);

}  // namespace kwetro::machine
