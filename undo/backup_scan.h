// Reads what the backup says about the keys the scripts touch, in one pass
// over an export of any size, keeping nothing else.
//
// Where a script's root has no section of its own in the backup, it is found
// where the registry links it: HKEY_CLASSES_ROOT under
// HKEY_LOCAL_MACHINE\Software\Classes, HKEY_CURRENT_CONFIG under the current
// hardware profile, and HKEY_CURRENT_USER as the one interactive user's hive
// under HKEY_USERS (S-1-5-21-..., not its ..._Classes key), which is how Wine
// exports the whole registry. Which of these applies is known only at the end
// of the export, so the touched keys are gathered under each candidate. A
// candidate counts only when the backup has its key itself, as an export of
// the whole registry does, or when the backup is an export of one key
// (REGEDIT /E FILE KEY: that key first and nothing outside it) and the
// scripts touch nothing of that root but the key and what lies below it, as
// the backup of a profile's hive loaded under HKEY_USERS for a moment.
#pragma once

#include <list>
#include <string>
#include <vector>

#include "undo/reg_reader.h"
#include "undo/touch_tree.h"

namespace kwetro::undo {

// A tree of touched keys with the backup's facts, to be written with the root
// the scripts name.
struct UndoTree {
  Root root;
  const TouchNode* top;
};

struct ScanProblem {
  bool usage = false;  // the command line must choose (a user); else the backup falls short
  long line = 0;       // the line of the backup it concerns; 0 for the whole backup
  std::string what;
};

class BackupScan : public RegFileHandler {
 public:
  // user: the SID of the user whose hive HKEY_CURRENT_USER is; empty to let
  // the backup say.
  BackupScan(const ScriptTouches& touches, std::u16string user);

  bool OnKey(const KeyLine& key) override;
  void OnValue(const ValueLine& value) override;

  // After the whole backup: one tree per root the scripts touch, in the
  // scripts' order.
  bool Resolve(std::vector<UndoTree>& trees, ScanProblem& problem) const;

 private:
  struct Mount {
    Root root;        // the scripts' root it answers for
    Root backupRoot;  // where it sits in the backup
    std::vector<std::u16string> prefix;
    TouchNode top;
    // The backup has the key at the mount point itself. An export of the
    // whole registry writes every root and hive as a key line of its own;
    // an export of one key lacks them, and every key it does not hold would
    // count as one to delete.
    bool seen = false;
  };

  void AddMount(Root root, Root backupRoot, std::u16string_view prefix);
  void NoteUser(std::u16string_view rest);
  void Walk(TouchNode& top, std::u16string_view rest);
  const Mount* Choose(Root root, ScanProblem& problem) const;
  // The root's own mount, when the backup is an export of one key of that
  // root below which lies everything the scripts touch there.
  const Mount* BelowExportedKey(Root root) const;
  // Says so when the backup is an export of one root key alone (REGEDIT /E
  // FILE HKEY_CURRENT_USER, as each user's backup before user.reg): it can
  // back only scripts that touch that root.
  bool OneRootOnly(Root missing, ScanProblem& problem) const;
  std::string UserList() const;

  const ScriptTouches& touches_;
  std::u16string user_;
  std::list<Mount> mounts_;
  std::vector<std::u16string> users_;  // interactive users' SIDs, as spelled
  std::vector<Root> wholeRoots_;       // roots the backup names as keys of their own
  // The backup's first key, and whether every later one lies below it.
  bool first_ = true, oneKey_ = true;
  Root topRoot_ = Root::kLocalMachine;
  std::vector<std::u16string> topPath_;
  std::u16string topSpelling_;
  std::vector<TouchNode*> valueTargets_;
  std::vector<std::pair<TouchNode*, std::size_t>> captureTargets_;
  // A value the undo would have to put back whose line REGEDIT does not
  // import: its data are unknown.
  ScanProblem unreadable_;
};

}  // namespace kwetro::undo
