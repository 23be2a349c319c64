// Reads what the backup says about the keys the scripts touch, in one pass
// over an export of any size, keeping nothing else. Each root the scripts
// touch is found where the export holds it (export_roots.h).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "undo/export_roots.h"
#include "undo/reg_reader.h"
#include "undo/touch_tree.h"

namespace kwetro::undo {

// A tree of touched keys with the backup's facts, to be written with the root
// the scripts name.
struct UndoTree {
  Root root;
  const TouchNode* top;
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
  void Walk(TouchNode& top, std::u16string_view rest);

  const ScriptTouches& touches_;
  ExportRoots roots_;
  std::deque<TouchNode> tops_;  // by place of roots_: the touched keys found there
  std::vector<TouchNode*> valueTargets_;
  std::vector<std::pair<TouchNode*, std::size_t>> captureTargets_;
  // A value the undo would have to put back whose line REGEDIT does not
  // import: its data are unknown.
  ScanProblem unreadable_;
};

}  // namespace kwetro::undo
