// The undo file: what returns every key and value the scripts touch to its
// state in the backup.
//
// It has two parts, deletions first, then writes:
//   - a key the scripts create that the backup lacks: its topmost missing
//     key is deleted (the scripts created every key below it);
//   - a key the scripts delete that the backup has: it is deleted, then its
//     whole subtree is written back from the backup, so that nothing the
//     scripts added under it afterwards survives;
//   - a value the scripts set or delete in a key the backup has: written back
//     with the backup's type and data, or deleted when the backup lacks it.
// Every write puts back the backup's own data, and no deletion removes a key
// the backup has unless its subtree is written back after it, so the result
// does not depend on the order in which the scripts touched things, nor on
// one key being reached through two roots (HKEY_CURRENT_USER and its hive
// under HKEY_USERS).
#pragma once

#include <string>
#include <vector>

#include "undo/backup_scan.h"

namespace kwetro::undo {

// The undo file's bytes (see RegWriter).
std::string WriteUndo(const std::vector<UndoTree>& trees);

}  // namespace kwetro::undo
