// The user settings for every user (dCheckBox_1_1): besides the one import of
// hkcu.reg at the next logon, the user's part of both scripts (user_part.h)
// reaches every other profile once. A deployment keeps its files in a folder
// every user can read, and two start-up commands run after the backup of the
// registry: one registers the part with Windows' Active Setup
// (activesetup.reg), which at a logon runs the registered command for each
// user whose own mark is missing or older; the other, this program started
// again as the administrator, imports profiles.reg into the hive of every
// profile on the disk that nobody uses, and of the Default User, from which
// new profiles are made (profile_hives.h), and marks them, so that Active
// Setup is left with the profiles that were not on the disk. Each import is
// preceded by a backup that `kwetro-cli undo` takes. docs/all-users.md says
// why each piece is where it is.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "app/platform.h"
#include "options/selection.h"

namespace kwetro {

// The option is checked.
bool ForEveryUser(const Selection& selection);

// Where a deployment keeps its files for every user: readable by every user,
// and out of reach of the removal of the deployment folder. Left for the
// command interpreter to expand in the registered command.
inline constexpr char kEveryUserFolder[] = "%ALLUSERSPROFILE%\\Kwetro";
inline constexpr char kUserScriptName[] = "user.reg";
inline constexpr char kRegistrationName[] = "activesetup.reg";
inline constexpr char kHiveScriptName[] = "profiles.reg";
// The program's copy there, which the administrator step runs.
inline constexpr char kStepProgramName[] = "Kwetro.exe";
// Where the administrator step loads each hive, one after the other: the
// root of the keys of profiles.reg.
inline constexpr char kHiveMount[] = "KwetroProfile";
inline constexpr char kHiveRoot[] = "HKEY_USERS\\KwetroProfile";
// Kwetro's entry under HKEY_LOCAL_MACHINE, and each user's mark under
// HKEY_CURRENT_USER.
inline constexpr char kActiveSetupKey[] =
    "SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\Kwetro";

// An Active Setup version, "a,b,c,d": Windows compares the numbers from the
// left. Every part stays within 16 bits.
struct SetupVersion {
  std::array<std::uint32_t, 4> parts{};

  // The moment as year, month and day, hour and minute, second:
  // 2025-11-07 15:30:12 is 2025,1107,1530,12.
  static SetupVersion At(const std::tm& local);
  // Up to four decimal numbers separated by commas; false for anything else.
  static bool Parse(std::string_view text, SetupVersion& version);
  std::string Text() const;
  // The next version: the last part raised by one, carried to the left.
  SetupVersion Next() const;
  bool operator<(const SetupVersion& other) const { return parts < other.parts; }
};

// The version of a deployment made at that moment: the clock's, or above the
// version already registered (registered, as stored; empty when none) when
// the clock stands behind it, so that every later deployment runs once more
// for every user, whatever the clock.
SetupVersion NewSetupVersion(const std::tm& local, std::string_view registered);
// The local time now (clock_posix.cpp, clock_win32.cpp).
std::tm LocalNow();

// The command Active Setup runs for a user: unless the user's hive holds the
// selection's mark, the user's HKEY_CURRENT_USER exported first, and only
// when that export is there, user.reg imported.
std::string StubPath(std::string_view mark);

// activesetup.reg (Windows-1251, CR LF): Kwetro's entry (a readable name, the
// command, the version, installed) and the marks of the user who imports it,
// who got hkcu.reg and hklm.reg itself.
std::string RegistrationScript(const SetupVersion& version, std::string_view mark);

// Every file Apply writes for every user, besides hkcu.reg and hklm.reg, by
// name: user.reg, activesetup.reg and profiles.reg. (A deployment also keeps
// a copy of the program beside them, which is no script.)
struct EveryUserScript {
  const char* name;
  std::string bytes;
};
std::array<EveryUserScript, 3> EveryUserScripts(const Selection& selection,
                                                const SetupVersion& version);

// The start-up commands that finish the deployment for every user, written
// after the others so that they run after the backup of the registry: the
// import of activesetup.reg, then the administrator step, the program's copy
// in the same folder.
StartupCommand RegistrationCommand(const std::string& registrationPath);
StartupCommand ProfilesCommand(const std::string& programPath);
// The command-line switch of the administrator step.
inline constexpr char kProfilesSwitch[] = "/profiles";

}  // namespace kwetro
