// The registry of a Windows that is not running, as the audit reads it: its
// hive files, opened for reading only. HKEY_CURRENT_USER is one profile's
// NTUSER.DAT: the one chosen by name, else the only user's, else the Default
// User's.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "machine/registry_view.h"
#include "offline/apply.h"
#include "offline/hive_file.h"

namespace kwetro::offline {

class HiveRegistry : public machine::RegistryView {
 public:
  // False with the problem when a hive cannot be read or the user is unknown
  // (usage) or not the only one; hives Windows left in the middle of a write
  // are read all the same, with a warning.
  bool Open(const std::string& root, const std::string& user, std::vector<std::string>& warnings,
            OfflineProblem& problem);

  machine::Found Key(undo::Root root, std::u16string_view path) const override;
  machine::Found Value(undo::Root root, std::u16string_view path, std::u16string_view name,
                       machine::RegData& data) const override;

  const HiveFile& User() const { return user_; }

 private:
  Hive::Node Node(undo::Root root, std::u16string_view path, const Hive*& hive) const;

  std::unique_ptr<Hive> hives_[kHiveKinds];
  std::u16string controlSet_;
  HiveFile user_;
};

}  // namespace kwetro::offline
