// The hive files of a Windows XP system drive mounted at a folder (the folder
// that holds WINDOWS and Documents and Settings, in whatever letter case):
// system, software and default in WINDOWS/system32/config, the Default
// User's NTUSER.DAT and that of every user profile ProfileList names.
#pragma once

#include <string>
#include <vector>

#include "offline/hive_file.h"
#include "offline/routing.h"

namespace kwetro::offline {

struct HiveFile {
  HiveKind kind = HiveKind::kSystem;
  std::string label;     // system, software, default; a profile's folder name
  std::string path;      // the file
  std::string relative;  // below the drive's folder, for messages and the backup list
};

struct Image {
  std::string root;     // the drive's folder
  std::string config;   // WINDOWS/system32/config as found
  std::string windows;  // WINDOWS as found, below root
  HiveFile machine[3];  // system, software, default
};

// False with the problem when the folder holds no such system.
bool FindImage(const std::string& root, Image& image, std::string& problem);

// The name a user chooses profiles by: the Default User's.
inline constexpr char kDefaultUser[] = "Default User";

// The user hives: the Default User's first, then each profile of a user
// (S-1-5-21-...) in ProfileList, by the folder its ProfileImagePath names
// (%SystemDrive% the drive's folder, %SystemRoot% and %windir% its WINDOWS,
// a drive letter the drive itself). With chosen, only the profiles of those
// names (the folder's name, or "Default User"), in any letter case. False
// with the problem when a chosen name is unknown (usage set) or a profile's
// NTUSER.DAT is missing.
bool FindUserHives(const Image& image, const Hive& software, const std::vector<std::string>& chosen,
                   std::vector<HiveFile>& users, std::string& problem, bool& usage);

// Whether the hive may be read and changed: a registry hive whose last
// write ended, with no transaction log (NAME.LOG, .LOG1, .LOG2 beside it)
// holding a newer write. False with the problem, which names the file.
bool CheckHiveFile(const HiveFile& hive, std::string& problem);

// The name of the current control set (ControlSet001), from Select\Current.
bool CurrentControlSet(const Hive& system, std::u16string& name, std::string& problem);

}  // namespace kwetro::offline
