// Where each root stands in an export of the whole registry, found in one
// pass over the export's key lines.
//
// Where a root has no section of its own in the export, it is found where
// the registry links it: HKEY_CLASSES_ROOT under
// HKEY_LOCAL_MACHINE\Software\Classes, HKEY_CURRENT_CONFIG under the current
// hardware profile, and HKEY_CURRENT_USER as the one interactive user's hive
// under HKEY_USERS (S-1-5-21-..., not its ..._Classes key), which is how Wine
// exports the whole registry. Which of these applies is known only at the end
// of the export, so a reader gathers what it wants under each candidate place.
// A place counts only when the export has its key itself, as an export of the
// whole registry does, or when the export is of one key (REGEDIT /E FILE KEY:
// that key first and nothing outside it) and the scripts touch nothing of that
// root but the key and what lies below it, as the backup of a profile's hive
// loaded under HKEY_USERS for a moment.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "undo/reg_names.h"
#include "undo/reg_reader.h"
#include "undo/touch_tree.h"

namespace kwetro::undo {

struct ScanProblem {
  bool usage = false;  // the command line must choose (a user); else the export falls short
  long line = 0;       // the line of the export it concerns; 0 for the whole export
  std::string what;
};

class ExportRoots {
 public:
  // roots: those the reader wants, in its order; user: the SID of the user
  // whose hive is HKEY_CURRENT_USER, empty to let the export say.
  ExportRoots(std::vector<Root> roots, std::u16string user);

  // A key line of the export is at or below these places, each with the path
  // below it. A place is numbered from 0 in the order it was found; new ones
  // (a user's hive) appear with the key line that names them.
  using Inside = std::vector<std::pair<std::size_t, std::u16string_view>>;
  const Inside& OnKey(const KeyLine& key);

  std::size_t PlaceCount() const { return places_.size(); }
  Root RootOf(std::size_t place) const { return places_[place].root; }
  bool Wants(Root root) const;

  // After the whole export: for each root wanted, in order, the place that
  // answers for it. With the scripts' touches, an export of one key answers
  // for its root where they touch nothing of it outside that key.
  bool Resolve(std::vector<std::size_t>& places, ScanProblem& problem,
               const ScriptTouches* touches = nullptr) const;

 private:
  struct Place {
    Root root;        // the root it answers for
    Root exportRoot;  // where it sits in the export
    std::vector<std::u16string> prefix;
    // The export has the key at the place itself. An export of the whole
    // registry writes every root and hive as a key line of its own; an
    // export of one key lacks them, and every key it does not hold would
    // count as absent.
    bool seen = false;
  };

  void AddPlace(Root root, Root exportRoot, std::u16string_view prefix);
  void NoteUser(std::u16string_view rest);
  const Place* Choose(Root root, const ScriptTouches* touches, ScanProblem& problem) const;
  // The root's own place, when the export is of one key of that root below
  // which lies everything the scripts touch there.
  const Place* BelowExportedKey(Root root, const ScriptTouches* touches) const;
  // Says so when the export is of one root key alone (REGEDIT /E FILE
  // HKEY_CURRENT_USER, as each user's backup before user.reg).
  bool OneRootOnly(Root missing, ScanProblem& problem) const;
  std::string UserList() const;

  std::vector<Root> roots_;
  std::u16string user_;
  std::vector<Place> places_;
  std::vector<std::u16string> users_;  // interactive users' SIDs, as spelled
  std::vector<Root> wholeRoots_;       // roots the export names as keys of their own
  // The export's first key, and whether every later one lies below it.
  bool first_ = true, oneKey_ = true;
  Root topRoot_ = Root::kLocalMachine;
  std::vector<std::u16string> topPath_;
  std::u16string topSpelling_;
  Inside inside_;
};

}  // namespace kwetro::undo
