// Registry scripts applied straight to the hive files of a Windows XP system
// drive that is not running, so that an image can be tuned without starting
// it. A broken hive is a machine that does not start, so:
//   - every hive is checked first (readable by libhivex, its last write
//     ended, no newer write in its transaction logs, its folder writable),
//     and any problem stops the apply before a single file is written;
//   - each hive that changes is written whole, by libhivex, to a new file
//     beside it, which is read back before anything else happens;
//   - each is kept under a second name (beside itself: a second link to
//     its file, which the rename leaves as it is; or copied into a folder of
//     backups, synced and compared byte for byte), and a list of the copies
//     written, so that undo can put every hive back;
//   - only then is each new file renamed over its hive: a stop at any moment
//     leaves every hive either as it was or as the apply made it, and a
//     failure of a rename puts the hives renamed before it back.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "offline/hive_edit.h"
#include "offline/image.h"

namespace kwetro::offline {

struct OfflineProblem {
  bool usage = false;     // the request, not a file, is wrong
  std::string what;       // in words, naming the file
  bool untouched = true;  // no file of the system was changed
};

// A problem as the commands say it.
inline bool Fail(OfflineProblem& problem, std::string what, bool usage = false) {
  problem.what = std::move(what);
  problem.usage = usage;
  return false;
}

struct ApplyRequest {
  std::string root;       // the folder the system drive is mounted at
  std::string backupDir;  // empty: each copy beside its hive, the list in WINDOWS/system32/config
  std::vector<std::string> users;    // profile names; empty: every profile
  std::vector<std::string> scripts;  // hkcu.reg, hklm.reg (their bytes), in the order imported
  bool dryRun = false;
  // Called after each hive is renamed into place (a test stops there, as a kill would).
  std::function<void(const HiveFile&)> afterReplace;
};

struct HiveOutcome {
  HiveFile hive;
  std::vector<Change> changes;
  std::string copy;  // where its copy is; empty when it did not change
};

// Every hive the scripts reach, in order (system, software, default, the
// users), with what changed (would change, with dryRun).
bool ApplyToImage(const ApplyRequest& request, std::vector<HiveOutcome>& outcomes,
                  OfflineProblem& problem);

struct UndoRequest {
  std::string root, backupDir;
  bool force = false;  // put back hives changed since the apply as well
};

// Puts back every hive the last apply replaced, from its copy, and removes
// the copies and their list. Refused, with nothing changed, when a copy is
// not what was copied, or (without force) a hive changed since the apply.
// restored: the hives put back (below the drive's folder).
bool UndoImage(const UndoRequest& request, std::vector<std::string>& restored,
               OfflineProblem& problem);

// Where the list of copies is.
std::string BackupListPath(const Image& image, const std::string& backupDir);

}  // namespace kwetro::offline
