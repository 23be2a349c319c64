// The registry as an export of the whole of it holds it (REGEDIT /E, or the
// RegAfter.reg of a deployment), read once, chunk by chunk, keeping only the
// keys and values the model names. HKEY_CURRENT_USER and HKEY_CLASSES_ROOT
// are found where the export holds them (undo/export_roots.h): in sections
// of their own, or as the one user's hive under HKEY_USERS (the chosen
// user's, with a SID) and the machine's classes.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "machine/registry_view.h"
#include "undo/byte_source.h"
#include "undo/export_roots.h"
#include "undo/read_problem.h"
#include "undo/reg_reader.h"

namespace kwetro::machine {

struct ExportProblem {
  enum class Kind { kBadInput, kReadFailure, kUsage };
  Kind kind = Kind::kBadInput;
  long line = 0;     // 0 when it concerns the whole export
  std::string what;  // in words (UTF-8); for a read failure the system's reason
};

// A value the model names, and what the export holds of it.
struct ExportedValue {
  std::u16string name;
  bool present = false;
  RegData data;
};

// A key the model names or one on the way to it, and what the export holds:
// whether it has the key, and the values named.
struct ExportedKey {
  std::u16string name;
  bool present = false;
  std::vector<ExportedValue> values;
  std::vector<ExportedKey> children;

  const ExportedKey* Find(std::u16string_view component) const;
  ExportedKey* Find(std::u16string_view component) {
    return const_cast<ExportedKey*>(std::as_const(*this).Find(component));
  }
};

class ExportRegistry : public RegistryView, private undo::RegFileHandler {
 public:
  // user: the SID of the user whose hive HKEY_CURRENT_USER is (UTF-8), when
  // the export holds several; empty to let the export say.
  explicit ExportRegistry(const std::string& user);

  // False when the export cannot be read or lacks a root or hive the model
  // needs; the lines passed over go to warnings.
  bool Read(undo::ByteSource& source, ExportProblem& problem, undo::ReadWarnings& warnings);

  Found Key(undo::Root root, std::u16string_view path) const override;
  Found Value(undo::Root root, std::u16string_view path, std::u16string_view name,
              RegData& data) const override;

 private:
  bool OnKey(const undo::KeyLine& key) override;
  void OnValue(const undo::ValueLine& value) override;
  const ExportedKey* Node(undo::Root root, std::u16string_view path) const;

  undo::ExportRoots roots_;
  std::deque<ExportedKey> found_;       // by place of roots_: the model's keys as found there
  std::vector<ExportedKey*> valuesOf_;  // the keys of the key line read last
  undo::ScanProblem unreadable_;        // a named value in a line REGEDIT does not import
  const ExportedKey* resolved_[undo::kRootCount] = {};  // each root's keys, once read
};

}  // namespace kwetro::machine
