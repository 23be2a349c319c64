// The user's part of a selection: every HKEY_CURRENT_USER line of hkcu.reg
// and of hklm.reg (whose Start-menu sort order deletes keys of the user), with
// the blocks' comments, taken from the catalogue's blocks as the scripts are.
// It reaches the other users of a machine in two forms: as user.reg, which a
// user imports into the own HKEY_CURRENT_USER and which leaves out the keys a
// restricted user may only read (Policies), and moved under HKEY_USERS, where
// an administrator imports it, Policies included, into a profile's hive
// loaded there for a moment. Each form ends with the mark that says the hive
// holds this selection's user settings.
#pragma once

#include <string>
#include <string_view>

#include "options/blocks.h"
#include "options/reg_script.h"
#include "options/selection.h"

namespace kwetro {

inline constexpr char kCurrentUserRoot[] = "HKEY_CURRENT_USER";

// Whether a key below HKEY_CURRENT_USER (the path after the root, "\\..."
// or empty) is one of the Policies keys, which users may read but not
// write: Software\Policies and
// Software\Microsoft\Windows\CurrentVersion\Policies, with everything below
// them, in any case of letters.
bool IsPolicyKey(std::string_view path);

// The HKEY_CURRENT_USER keys, with or without the Policies keys, spelled
// under root instead ("HKEY_USERS\\KwetroProfile"); keys of other roots are
// left out.
class CurrentUserKeys : public KeyFilter {
 public:
  CurrentUserKeys(bool withPolicies, std::string_view root)
      : withPolicies_(withPolicies), root_(root) {}
  std::string_view Keep(std::string_view keyLine, std::string& room) const override;

 private:
  bool withPolicies_;
  std::string_view root_;
};

// The user's part of both scripts under root, Policies included or not.
RegScript UserPart(const Selection& selection, bool withPolicies,
                   std::string_view root = kCurrentUserRoot);

// Sixteen hexadecimal digits that name the selection's user settings: a hash
// of the key and value lines of its user's part (Policies included), so that
// a caption worded anew in a later version does not count as another
// selection, while any other line does.
std::string SelectionMark(const Selection& selection);

// Where a hive keeps the mark: the key below the hive's root, and the mark as
// the name of its one value.
inline constexpr char kMarkKey[] = "Software\\Kwetro";

// Appends the mark of a hive under root: the key made anew, so that it holds
// this mark alone, with the mark as its one value. Last in a file, so that a
// hive holds it only when the whole file went in.
void AppendSelectionMark(RegScript& script, std::string_view root, std::string_view mark);

}  // namespace kwetro
