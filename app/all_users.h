// The user settings for every user (dCheckBox_1_1): besides the one import of
// hkcu.reg at the next logon, the HKEY_CURRENT_USER part of hkcu.reg reaches
// every profile that logs on afterwards, existing or created later, once,
// through Windows' Active Setup. A deployment keeps that part as user.reg in a
// folder every user can read, and registers it by activesetup.reg, which a
// start-up command imports after the backup of the registry; at a logon
// Windows runs the registered command for each user whose own mark is missing
// or older. The command first exports the user's HKEY_CURRENT_USER to the
// user's profile, so that `kwetro-cli undo` can put it back. docs/all-users.md
// says why each piece is where it is.
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

// Where a deployment keeps user.reg and activesetup.reg: readable by every
// user, and out of reach of the removal of the deployment folder. Left for
// the command interpreter to expand in the registered command.
inline constexpr char kEveryUserFolder[] = "%ALLUSERSPROFILE%\\Kwetro";
inline constexpr char kUserScriptName[] = "user.reg";
inline constexpr char kRegistrationName[] = "activesetup.reg";
// Kwetro's entry under HKEY_LOCAL_MACHINE, and each user's mark under
// HKEY_CURRENT_USER.
inline constexpr char kActiveSetupKey[] =
    "SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\Kwetro";

// The HKEY_CURRENT_USER blocks of a per-user script (the bytes of hkcu.reg):
// its frame, and of each block the lines of its HKEY_CURRENT_USER keys with
// the block's comments; a block of other keys only (HKEY_USERS\.DEFAULT,
// HKEY_CLASSES_ROOT, imported once with hkcu.reg and not writable by a
// restricted user) is left out whole.
std::string UserPart(std::string_view hkcuBytes);

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

// activesetup.reg (Windows-1251, CR LF): Kwetro's entry (a readable name, the
// command, the version, installed) and the mark of the user who imports it,
// who got hkcu.reg itself.
std::string RegistrationScript(const SetupVersion& version);

// user.reg and activesetup.reg of a selection, by name.
struct EveryUserScript {
  const char* name;
  std::string bytes;
};
std::array<EveryUserScript, 2> EveryUserScripts(const Selection& selection,
                                                const SetupVersion& version);

// The start-up command that imports activesetup.reg at the next logon,
// written after the others: it runs after the backup of the registry.
StartupCommand RegistrationCommand(const std::string& registrationPath);

}  // namespace kwetro
