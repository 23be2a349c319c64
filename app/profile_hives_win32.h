// The administrator step's access to the system on Windows: ProfileList, the
// hives loaded with RegLoadKey under HKEY_USERS (which needs the privileges
// to back up and restore files, enabled here; an administrator holds them),
// and the system's own REGEDIT for the backups and the imports.
#pragma once

#include "app/platform_win32.h"
#include "app/profile_hives.h"

namespace kwetro {

class Win32HiveHost : public HiveHost {
 public:
  Win32HiveHost();

  bool ReadProfiles(ProfileList& list, std::string& reason) override;
  std::string CurrentUser() override;
  bool InUse(const std::string& sid) override;
  bool Load(const std::string& hive, std::string& reason) override;
  bool HasMark(const std::string& mark) override;
  bool Export(const std::string& file, std::string& reason) override;
  bool Import(const std::string& script, std::string& reason) override;
  bool Unload(const std::string& hive, std::string& reason) override;

 private:
  Win32Platform platform_;  // for expanding the profiles' paths
};

}  // namespace kwetro
