// Whole scripts, byte for byte, for the selections of tests/golden (see its
// README): together they put every option in each state, every drop-down at
// every index (-1 and out of range too), the spinners at and past their edges,
// the services preset in each state and every service in its optimal state.
// KWETRO_UPDATE_GOLDEN=1 rewrites the files from the program's output instead
// of comparing, so that a deliberate change shows as a diff to review.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "app/all_users.h"
#include "app/settings_file.h"
#include "catalogue/generators.h"
#include "support/files.h"

namespace kwetro::testing {
namespace {

// Where two texts part: the line number and both lines, in UTF-8.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::size_t at = 0, line = 1;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
    if (expected[at++] == '\n') ++line;
  const auto lineAt = [at](const std::string& text) {
    const std::size_t begin = text.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = begin == std::string::npos || at == 0 ? 0 : begin + 1;
    return Cp1251ToUtf8(text.substr(from, text.find('\r', from) - from));
  };
  return "line " + std::to_string(line) + "\n  expected: " + lineAt(expected) +
         "\n  written:  " + lineAt(actual);
}

void Compare(const std::filesystem::path& file, const std::string& bytes, bool update) {
  if (update) WriteBytes(file, bytes);
  const std::string expected = ReadBytes(file);
  EXPECT_TRUE(expected == bytes) << file.string() << " differs at "
                                 << FirstDifference(expected, bytes);
}

TEST(GoldenScripts, EachSelectionWritesItsScriptsByteForByte) {
  const char* switchValue = std::getenv("KWETRO_UPDATE_GOLDEN");
  const bool update = switchValue && std::strcmp(switchValue, "1") == 0;
  const std::filesystem::path root = SourcePath("tests/golden");
  // The built-in selection's fresh settings file is the built-in folder's input.
  Compare(root / "built-in" / "selection.ini", StoreSettings(Selection(), ""), update);
  int selections = 0;
  for (const auto& entry : std::filesystem::directory_iterator(root)) {
    if (!entry.is_directory()) continue;
    ++selections;
    Selection selection;
    RestoreSettings(ReadBytes(entry.path() / "selection.ini"), selection);
    Compare(entry.path() / "hkcu.reg", BuildHkcuScript(selection).Bytes(), update);
    Compare(entry.path() / "hklm.reg", BuildHklmScript(selection).Bytes(), update);
    // The user's part for every user, where a folder holds it: user.reg for
    // Active Setup, profiles.reg for the hives of the profiles on the disk.
    SetupVersion version;
    SetupVersion::Parse("2025,1107,1530,12", version);
    for (const EveryUserScript& file : EveryUserScripts(selection, version))
      if (std::filesystem::exists(entry.path() / file.name))
        Compare(entry.path() / file.name, file.bytes, update);
  }
  EXPECT_EQ(selections, 7) << "the source tree is out of reach at " << root.string();
}

// The value mends, each a stretch of lines that a selection's script must
// hold (<selection>/hkcu-*.reg and hklm-*.reg). The whole files are pinned
// above; these say what must never come back with an update of them.
TEST(GoldenScripts, TheMendedValuesStandWhereTheyBelong) {
  int mends = 0;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(SourcePath("tests/golden"))) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 10 || name[4] != '-' || entry.path().extension() != ".reg") continue;
    ++mends;
    const std::string mend = ReadBytes(entry.path());
    const std::string script = ReadBytes(entry.path().parent_path() / (name.substr(0, 4) + ".reg"));
    EXPECT_NE(script.find(mend), std::string::npos) << name << ":\n" << Cp1251ToUtf8(mend);
  }
  EXPECT_GE(mends, 8);
  // The built-in selection leaves Automatic Updates and autorun alone: not
  // even their keys, which an empty block would make.
  const std::string builtIn = ReadBytes(SourcePath("tests/golden/built-in/hklm.reg"));
  for (const char* key : {"\\WindowsUpdate\\Auto Update]", "\\Policies\\Explorer]"})
    EXPECT_EQ(builtIn.find(key), std::string::npos) << key;
}

}  // namespace
}  // namespace kwetro::testing
