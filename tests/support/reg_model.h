// A model of the registry for tests: keys and values REGEDIT's import of a
// file leaves, and the export of the whole (UTF-16, as REGEDIT /E writes it).
// HKEY_CURRENT_USER stands for one user's hive under HKEY_USERS and
// HKEY_CLASSES_ROOT for the machine's classes, as in an export of Wine.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "options/text_encoding.h"
#include "undo/reg_reader.h"
#include "undo/reg_writer.h"

namespace kwetro::testing {

using undo::RegValue;

constexpr std::u16string_view kUser = u"S-1-5-21-0-0-0-1000";

inline std::u16string Folded(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = undo::FoldCase(c);
  return folded;
}

// A key's full path as an export of Wine holds it: HKEY_CURRENT_USER as the
// user's hive, HKEY_CLASSES_ROOT as the machine's classes.
inline std::u16string FullPath(undo::Root root, std::u16string_view rest) {
  std::u16string path = root == undo::Root::kCurrentUser ? u"HKEY_USERS\\" + std::u16string(kUser)
                        : root == undo::Root::kClassesRoot
                            ? u"HKEY_LOCAL_MACHINE\\Software\\Classes"
                            : std::u16string(undo::RootName(root));
  for (std::u16string_view component; undo::NextComponent(rest, component);)
    path.append(u"\\").append(component);
  return path;
}

inline std::u16string NameOf(const RegValue& v) {
  std::u16string name;
  undo::AppendUnescaped(v.rawName, name);
  return Folded(name);
}

inline std::string Described(const RegValue& v) {
  std::u16string text;
  undo::AppendUnescaped(v.rawString, text);
  return std::to_string(static_cast<int>(v.kind)) + "/" + std::to_string(v.type) + "/" +
         Utf16ToUtf8(text) + "/" + v.bytes;
}

// Keys by folded path, each with its values by folded name.
struct Registry {
  using Values = std::map<std::u16string, RegValue>;
  std::map<std::u16string, std::pair<std::u16string, Values>> keys;

  Values& Create(const std::u16string& path) {
    for (std::size_t slash = path.find(u'\\'); slash != std::u16string::npos;
         slash = path.find(u'\\', slash + 1))
      keys.try_emplace(Folded(path.substr(0, slash)), path.substr(0, slash), Values());
    return keys.try_emplace(Folded(path), path, Values()).first->second.second;
  }
  void DeleteTree(const std::u16string& path) {
    const std::u16string folded = Folded(path);
    for (auto it = keys.lower_bound(folded); it != keys.end() && it->first.rfind(folded, 0) == 0;)
      it = it->first.size() == folded.size() || it->first[folded.size()] == u'\\' ? keys.erase(it)
                                                                                  : std::next(it);
  }
  std::string Text() const {
    std::string text;
    for (const auto& [folded, key] : keys) {
      text += "[" + Utf16ToUtf8(folded) + "]\n";
      for (const auto& [name, value] : key.second)
        text += "  " + Utf16ToUtf8(name) + "=" + Described(value) + "\n";
    }
    return text;
  }
};

// REGEDIT's import into the model; what it reads is also kept as the names
// a script touches.
class Import : public undo::RegFileHandler {
 public:
  explicit Import(Registry& registry) : registry_(registry) {}
  // Each key line with a value "kept" the script does not name, each value line.
  std::vector<std::pair<std::u16string, RegValue>> touched;

  bool OnKey(const undo::KeyLine& key) override {
    const std::u16string path = FullPath(key.root, key.rest);
    RegValue kept;
    kept.rawName = u"kept";
    touched.push_back({path, kept});
    if (key.deletion) {
      registry_.DeleteTree(path);
      values_ = nullptr;
    } else {
      values_ = &registry_.Create(path);
    }
    return true;
  }
  void OnValue(const undo::ValueLine& value) override {
    touched.push_back({touched.back().first, undo::ToRegValue(value)});
    if (!values_ || !value.rejected.empty()) return;
    if (value.deletion)
      values_->erase(NameOf(undo::ToRegValue(value)));
    else
      (*values_)[NameOf(undo::ToRegValue(value))] = undo::ToRegValue(value);
  }

 private:
  Registry& registry_;
  std::map<std::u16string, RegValue>* values_ = nullptr;
};

inline bool Read(const std::string& bytes, undo::RegFileHandler& handler, std::string& problem) {
  undo::MemorySource source(bytes);
  undo::ReadProblem read;
  undo::ReadWarnings warnings;
  if (undo::ReadRegFile(source, handler, undo::FileKind::kScript, read, warnings)) return true;
  problem = "line " + std::to_string(read.line) + ": " + read.what;
  return false;
}

inline std::string Exported(const Registry& r) {
  undo::RegWriter writer;
  for (const auto& [folded, key] : r.keys) {
    writer.Key(key.first);
    for (const auto& [name, value] : key.second) writer.Value(value);
  }
  return writer.FileBytes();
}

}  // namespace kwetro::testing
