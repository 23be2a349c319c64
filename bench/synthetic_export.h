// A registry export as REGEDIT /E writes a whole Windows XP registry in
// Wine's layout (HKEY_LOCAL_MACHINE and HKEY_USERS, the user's hive as
// HKEY_USERS\S-1-5-21-0-0-0-1000), made up as it is read, so that an export of
// any size costs no memory: classes with their servers, services, the user's
// lists of recent things in binary, installer data, with strings (some
// Russian), dwords, binary data, hex(2) and hex(7) values wrapped as REGEDIT
// wraps them. Every key the given scripts touch is in it too, with the values
// they name, and each key they delete with a small subtree, so that the undo
// engine finds what it looks for. The same arguments give the same bytes.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "undo/byte_source.h"
#include "undo/reg_writer.h"
#include "undo/touch_tree.h"

namespace kwetro::bench {

class SyntheticExport : public undo::ByteSource {
 public:
  SyntheticExport(std::uint64_t bytes, const undo::ScriptTouches& scripts);
  bool Read(char* buffer, std::size_t size, std::size_t& got, std::string& reason) override;

 private:
  struct Anchor {
    std::u16string path;
    std::vector<std::u16string> values;
    bool deleted = false;
  };
  void AddAnchors(const undo::TouchNode& node, const std::u16string& path);
  void NextKey();
  // One key each, with its values: the next of the scripts' own keys, or a
  // key of the kinds a real export is made of.
  void WriteAnchor(const std::u16string& n);
  void WriteClass(const std::u16string& n);
  void WriteService(const std::u16string& n);
  void WriteRecentDocs(const std::u16string& n);
  void WriteProduct(const std::u16string& n);
  void Emit();  // the writer's text into the pending bytes
  std::u16string Hex(int digits);
  std::string Bytes(std::size_t count);
  std::string Utf16(std::u16string_view text);

  std::uint64_t target_;
  std::uint64_t produced_ = 0;
  std::mt19937 random_{20240601};
  std::vector<Anchor> anchors_;
  std::size_t nextAnchor_ = 0;
  std::uint64_t keys_ = 0;
  undo::RegWriter writer_;
  std::string pending_;
  std::size_t pendingPos_ = 0;
  bool finished_ = false;
};

}  // namespace kwetro::bench
