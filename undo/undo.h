// The undo file of registry scripts: from the scripts and a backup of the
// registry taken before they were imported (REGEDIT /E of the whole
// registry), the file that puts back every key and value they touch
// (undo_plan.h). The scripts are read first; the backup is read once, chunk
// by chunk, keeping only what the scripts touch. A value line of a script
// that REGEDIT does not import still counts as touched: putting back the
// backup's value is then no change at all.
#pragma once

#include <string>
#include <vector>

#include "undo/byte_source.h"
#include "undo/read_problem.h"

namespace kwetro::undo {

struct UndoProblem {
  enum class Kind { kBadInput, kReadFailure, kUsage };
  Kind kind = Kind::kBadInput;
  std::size_t input = 0;  // 0 the backup, 1 the first script, ...
  long line = 0;          // 0 when it concerns the whole file
  std::string what;       // in words (UTF-8); for a read failure the system's reason
};

// user: the SID of the user whose hive HKEY_CURRENT_USER is, when the backup
// holds several; empty to let the backup say. warnings: the lines of each
// input (the backup first) that were passed over as REGEDIT passes them.
bool MakeUndo(ByteSource& backup, const std::vector<ByteSource*>& scripts, const std::string& user,
              std::string& undoBytes, UndoProblem& problem, std::vector<ReadWarnings>& warnings);

}  // namespace kwetro::undo
