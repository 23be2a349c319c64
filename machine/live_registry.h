// The registry of the machine the program runs on (Windows only), read and
// never written: keys are opened for reading values and nothing else, and a
// key that does not exist is never made. Each key is opened once and kept
// open until the view goes.
#pragma once

#include <map>
#include <string>

#include "machine/registry_view.h"

namespace kwetro::machine {

class LiveRegistry : public RegistryView {
 public:
  // user: the SID of the user whose hive stands for HKEY_CURRENT_USER
  // (UTF-8); empty for the user the program runs as.
  explicit LiveRegistry(const std::string& user);
  ~LiveRegistry() override;
  LiveRegistry(const LiveRegistry&) = delete;
  LiveRegistry& operator=(const LiveRegistry&) = delete;

  // With a user: whether that user's hive is loaded under HKEY_USERS.
  bool UserLoaded() const;

  Found Key(undo::Root root, std::u16string_view path) const override;
  Found Value(undo::Root root, std::u16string_view path, std::u16string_view name,
              RegData& data) const override;

 private:
  struct Open {
    Found found = Found::kAbsent;
    void* handle = nullptr;  // an HKEY when found
  };
  const Open& OpenKey(undo::Root root, std::u16string_view path) const;

  std::u16string user_;
  mutable std::map<std::u16string, Open> open_;  // by root and folded path
};

}  // namespace kwetro::machine
