// The administrator step of a deployment for every user (Kwetro.exe
// /profiles, started at the next logon from its copy in the folder for every
// user): profiles.reg, the user's part of the selection with its Policies
// keys, goes into the hive of the Default User, from which Windows makes
// every new profile, and of every local profile that nobody uses now. Each
// hive is loaded under HKEY_USERS for a moment, exported there first (the
// backup `kwetro-cli undo` takes), then profiles.reg is imported and the hive
// unloaded. A hive that cannot be loaded or backed up is left as it is; the
// others go on. What befell each profile is appended to profiles.log in the
// same folder.
//
// Portable: the registry and REGEDIT are reached through HiveHost, so every
// rule here runs in native tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kwetro {

inline constexpr char kProfilesLogName[] = "profiles.log";
// Each profile's backup in the profile's own folder, which only its user and
// the administrators may read; the Default User's in the step's folder, since
// Windows copies the Default User's folder into every new profile.
inline constexpr char kProfileBackupName[] = "Kwetro-profile-backup.reg";
inline constexpr char kDefaultUserBackupName[] = "default-user-backup.reg";

// An entry of ProfileList.
struct ProfileEntry {
  std::string sid;
  std::string folder;    // ProfileImagePath, expanded; empty when missing
  bool roaming = false;  // it has a copy on a server (CentralProfile)
};

struct ProfileList {
  std::string defaultUserFolder;  // expanded; empty when ProfileList names none
  std::vector<ProfileEntry> profiles;
};

// What the step needs of the system: the Win32 one in profile_hives_win32.h,
// a scripted one in the tests. Reasons are in words.
class HiveHost {
 public:
  virtual ~HiveHost() = default;
  virtual bool ReadProfiles(ProfileList& list, std::string& reason) = 0;
  // The SID of the user the step runs as.
  virtual std::string CurrentUser() = 0;
  // A hive of that SID is loaded under HKEY_USERS: its user is logged on, or
  // a program runs under the account.
  virtual bool InUse(const std::string& sid) = 0;
  // Loads the hive file at HKEY_USERS\KwetroProfile.
  virtual bool Load(const std::string& hive, std::string& reason) = 0;
  // The loaded hive holds the selection's mark.
  virtual bool HasMark(const std::string& mark) = 0;
  // REGEDIT /E of the loaded hive into the file, replaced only by a complete
  // export.
  virtual bool Export(const std::string& file, std::string& reason) = 0;
  // REGEDIT /S of the script, waited for.
  virtual bool Import(const std::string& script, std::string& reason) = 0;
  // Unloads the loaded hive, its changes written to its file.
  virtual bool Unload(const std::string& hive, std::string& reason) = 0;
};

// The selection's mark that profiles.reg writes last, or "" when it has none.
std::string HiveScriptMark(std::string_view bytes);

// One line for each profile (Default User first), of what the step did; the
// number of profiles on the disk that it could not write.
int WriteProfileHives(HiveHost& host, const std::string& folder, const std::string& script,
                      const std::string& mark, std::string& log);

// The whole step for the program at programPath: profiles.reg beside it,
// profiles.log appended there, headed by the moment and the mark. 0 when
// every profile on the disk holds the selection, else 1.
int RunProfilesStep(HiveHost& host, const std::string& programPath);

}  // namespace kwetro
