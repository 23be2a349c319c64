// A hive file through libhivex: its keys found by name as the registry finds
// them (without regard to letter case, Latin and Cyrillic), its values read
// as the registry holds them, and changes made in memory until Commit writes
// the whole hive to a new file.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "machine/registry_view.h"

namespace kwetro::offline {

class Hive {
 public:
  using Node = std::size_t;  // 0: none

  struct Value {
    std::u16string name;  // empty for the default value
    machine::RegData data;
  };

  // Reads the hive; with write, changes may be made and committed. Null with
  // the reason (the library's, in words) when it cannot be read.
  static std::unique_ptr<Hive> Open(const std::string& path, bool write, std::string& reason);
  ~Hive();
  Hive(const Hive&) = delete;
  Hive& operator=(const Hive&) = delete;

  // Reads every key and value of the hive; false with the reason when some
  // cannot be read (a damaged or truncated hive that opens all the same).
  bool Walk(std::string& reason) const;

  Node Root() const;
  Node Child(Node parent, std::u16string_view name) const;
  // The key below the root at the path (components separated by
  // backslashes), or 0.
  Node Find(std::u16string_view path) const;
  std::u16string Name(Node node) const;
  std::vector<std::u16string> Children(Node node) const;

  // False with the reason when the hive's cells cannot be read.
  bool Values(Node node, std::vector<Value>& values, std::string& reason) const;

  // Changes; false with the reason.
  Node AddChild(Node parent, std::u16string_view name, std::string& reason);
  bool DeleteChild(Node node, std::string& reason);
  bool SetValues(Node node, const std::vector<Value>& values, std::string& reason);
  bool SetValue(Node node, const Value& value, std::string& reason);

  // Writes the whole hive, with the changes, to path (a new file).
  bool Commit(const std::string& path, std::string& reason);

 private:
  explicit Hive(void* handle) : handle_(handle) {}
  void* handle_;  // hive_h
};

// UTF-8 text as UTF-16 (libhivex speaks UTF-8); a malformed byte becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

}  // namespace kwetro::offline
