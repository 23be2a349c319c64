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

#include "support/files.h"
#include "support/reg_model.h"
#include "undo/undo.h"

namespace kwetro::undo {
namespace {

using testing::Import;
using testing::NameOf;
using testing::Registry;

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
    own.type = kRegSz;
    own.rawString =
        u"before \\\\ " + std::u16string(1, static_cast<char16_t>(u'a' + random() % 26));
    values[NameOf(own)] = own;
    own.rawName = u"V";
    if (random() % 2) r.Create(path + u"\\kw-below")[u"V"] = own;
  }
  return r;
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
