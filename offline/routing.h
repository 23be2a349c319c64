// Where a key of a registry script lies among the hive files of a Windows
// that is not running: HKEY_LOCAL_MACHINE\SYSTEM in system, with
// CurrentControlSet the control set that Select\Current names (it exists only
// in a running system); HKEY_LOCAL_MACHINE\SOFTWARE in software,
// HKEY_CLASSES_ROOT its Classes; HKEY_USERS\.DEFAULT in default;
// HKEY_CURRENT_CONFIG the current hardware profile of the control set; and
// HKEY_CURRENT_USER in each user's NTUSER.DAT.
#pragma once

#include <string>
#include <string_view>

#include "undo/reg_names.h"

namespace kwetro::offline {

enum class HiveKind { kSystem, kSoftware, kDefault, kUser };
constexpr int kHiveKinds = 4;

struct Place {
  HiveKind hive = HiveKind::kSystem;
  std::u16string path;  // below the hive's root, components joined by single backslashes
};

// controlSet: the name of the current control set, such as ControlSet001.
// False, with why in words, for a key no hive file of the system holds
// (HKEY_LOCAL_MACHINE\SAM, another user under HKEY_USERS, a root itself).
bool Route(undo::Root root, std::u16string_view path, std::u16string_view controlSet, Place& place,
           std::string& why);

}  // namespace kwetro::offline
