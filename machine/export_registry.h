// The registry as an export of the whole of it holds it (REGEDIT /E, or the
// RegAfter.reg of a deployment), read once, chunk by chunk, keeping only the
// keys and values the model names. HKEY_CURRENT_USER and HKEY_CLASSES_ROOT
// are found as the undo command finds them: in sections of their own, or as
// the one user's hive under HKEY_USERS (the chosen user's, with a SID) and
// the machine's classes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "machine/registry_view.h"
#include "undo/backup_scan.h"
#include "undo/byte_source.h"
#include "undo/read_problem.h"
#include "undo/touch_tree.h"

namespace kwetro::machine {

struct ExportProblem {
  enum class Kind { kBadInput, kReadFailure, kUsage };
  Kind kind = Kind::kBadInput;
  long line = 0;     // 0 when it concerns the whole export
  std::string what;  // in words (UTF-8); for a read failure the system's reason
};

class ExportRegistry : public RegistryView {
 public:
  // user: the SID of the user whose hive HKEY_CURRENT_USER is (UTF-8), when
  // the export holds several; empty to let the export say.
  explicit ExportRegistry(const std::string& user);
  ~ExportRegistry() override;

  // False when the export cannot be read or lacks a root or hive the model
  // needs; the lines passed over go to warnings.
  bool Read(undo::ByteSource& source, ExportProblem& problem, undo::ReadWarnings& warnings);

  Found Key(undo::Root root, std::u16string_view path) const override;
  Found Value(undo::Root root, std::u16string_view path, std::u16string_view name,
              RegData& data) const override;

 private:
  const undo::TouchNode* Node(undo::Root root, std::u16string_view path) const;

  std::unique_ptr<undo::BackupScan> scan_;
  std::vector<undo::UndoTree> trees_;
};

}  // namespace kwetro::machine
