// Real-world registry files of public tweak collections (tests/undo/corpus,
// origins.txt names each one's repository, commit and path) as scripts: each
// is read as REGEDIT reads it, imported into a model of the registry that
// holds some of what the file touches and some it does not, and undone with
// the undo file made from an export of that model; the registry must be as
// it was, key for key and value for value.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "options/text_encoding.h"
#include "support/files.h"
#include "undo/reg_reader.h"
#include "undo/reg_writer.h"
#include "undo/undo.h"

namespace kwetro::undo {
namespace {

constexpr std::u16string_view kUser = u"S-1-5-21-0-0-0-1000";

std::u16string Folded(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
}

// A key's full path as an export of Wine holds it: HKEY_CURRENT_USER as the
// user's hive, HKEY_CLASSES_ROOT as the machine's classes.
std::u16string FullPath(Root root, std::u16string_view rest) {
  std::u16string path = root == Root::kCurrentUser   ? u"HKEY_USERS\\" + std::u16string(kUser)
                        : root == Root::kClassesRoot ? u"HKEY_LOCAL_MACHINE\\Software\\Classes"
                                                     : std::u16string(RootName(root));
  for (std::u16string_view component; NextComponent(rest, component);)
    path.append(u"\\").append(component);
  return path;
}

std::u16string NameOf(const RegValue& v) {
  std::u16string name;
  AppendUnescaped(v.rawName, name);
  return Folded(name);
}

std::string Described(const RegValue& v) {
  std::u16string text;
  AppendUnescaped(v.rawString, text);
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
class Import : public RegFileHandler {
 public:
  explicit Import(Registry& registry) : registry_(registry) {}
  // Each key line with a value "kept" the script does not name, each value line.
  std::vector<std::pair<std::u16string, RegValue>> touched;

  bool OnKey(const KeyLine& key) override {
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
  void OnValue(const ValueLine& value) override {
    touched.push_back({touched.back().first, ToRegValue(value)});
    if (!values_ || !value.rejected.empty()) return;
    if (value.deletion)
      values_->erase(NameOf(ToRegValue(value)));
    else
      (*values_)[NameOf(ToRegValue(value))] = ToRegValue(value);
  }

 private:
  Registry& registry_;
  std::map<std::u16string, RegValue>* values_ = nullptr;
};

bool Read(const std::string& bytes, RegFileHandler& handler, std::string& problem) {
  MemorySource source(bytes);
  ReadProblem read;
  ReadWarnings warnings;
  if (ReadRegFile(source, handler, FileKind::kScript, read, warnings)) return true;
  problem = "line " + std::to_string(read.line) + ": " + read.what;
  return false;
}

// A registry that holds about half of the keys and values the script names,
// with data of their own, beside values and keys the script never names.
Registry Before(const std::vector<std::pair<std::u16string, RegValue>>& touched, unsigned seed) {
  Registry r;
  for (const char16_t* mount : {u"HKEY_LOCAL_MACHINE\\Software\\Classes", u"HKEY_CURRENT_CONFIG",
                                u"HKEY_USERS\\S-1-5-21-0-0-0-1000"})
    r.Create(mount);
  std::mt19937 random(seed);
  for (const auto& [path, value] : touched) {
    if (random() % 2) continue;
    auto& values = r.Create(path);
    RegValue own;
    own.rawName = value.rawName;
    own.type = 1;
    own.rawString =
        u"before \\\\ " + std::u16string(1, static_cast<char16_t>(u'a' + random() % 26));
    values[NameOf(own)] = own;
    own.rawName = u"V";
    if (random() % 2) r.Create(path + u"\\kw-below")[u"V"] = own;
  }
  return r;
}

std::string Exported(const Registry& r) {
  RegWriter writer;
  for (const auto& [folded, key] : r.keys) {
    writer.Key(key.first);
    for (const auto& [name, value] : key.second) writer.Value(value);
  }
  return writer.FileBytes();
}

TEST(Corpus, EveryRealFileIsReadAsRegeditReadsItAndUndoneExactly) {
  std::size_t files = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(testing::SourcePath("tests/undo/corpus"))) {
    if (entry.path().extension() != ".reg") continue;
    ++files;
    const std::string name = entry.path().filename().string(), script = testing::ReadBytes(entry);
    Registry scratch;
    Import names(scratch);
    std::string problem;
    ASSERT_TRUE(Read(script, names, problem)) << name << ", " << problem;
    for (unsigned seed = 0; seed < 3; ++seed) {
      Registry r =
          Before(names.touched, static_cast<unsigned>(std::hash<std::string>()(name)) + seed);
      const std::string before = r.Text(), backup = Exported(r);
      Import import(r), undo(r);
      ASSERT_TRUE(Read(script, import, problem)) << name << ", " << problem;
      MemorySource backupSource(backup), scriptSource(script);
      std::string undoBytes;
      UndoProblem refused;
      std::vector<ReadWarnings> warnings;
      ASSERT_TRUE(MakeUndo(backupSource, {&scriptSource}, "", undoBytes, refused, warnings))
          << name << ": input " << refused.input << ", line " << refused.line << ": "
          << refused.what;
      ASSERT_TRUE(Read(undoBytes, undo, problem)) << name << ": the undo file, " << problem;
      EXPECT_EQ(r.Text(), before) << name << ", seed " << seed;
    }
  }
  EXPECT_GE(files, 30u);
}

}  // namespace
}  // namespace kwetro::undo
