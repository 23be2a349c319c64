// The registry of the machine the program runs on (Windows only), read and
// never written: keys are opened for reading values and nothing else, and a
// key that does not exist is never made. Each key is opened once and kept
// open until the view goes. Keys are found where live_path.h says.
#pragma once

#include <memory>
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
  struct Keys;  // the keys opened so far, by their place

  std::u16string user_;
  std::unique_ptr<Keys> keys_;
};

}  // namespace kwetro::machine
