// The undo file of scripts and a backup: one case per way the scripts can
// touch the registry and per layout of the backup (tests/undo/undo_cases.txt).
#include "undo/undo.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/files.h"
#include "undo/reg_files.h"

namespace kwetro::undo {
namespace {

using testing::ReadUtf16File;
using testing::Utf16File;

TEST(Undo, PutsBackEveryTouchedKeyAndValueOrSaysWhyNot) {
  const std::string header = "Windows Registry Editor Version 5.00\n\n";
  const auto cases = testing::ReadCases("tests/undo/undo_cases.txt");
  EXPECT_GE(cases.size(), 15u);
  for (const testing::TextCase& c : cases) {
    std::string backup, user, expected;
    std::vector<std::string> scripts;
    for (const auto& [part, text] : c.parts) {
      if (part == "backup")
        backup = Utf16File(header + "[HKEY_LOCAL_MACHINE]\n\n[HKEY_USERS]\n\n" + text);
      else if (part == "backup as is")
        backup = Utf16File(text);
      else if (part == "backup REGEDIT4")
        backup = testing::AnsiFile(text);
      else if (part == "script")
        scripts.push_back(testing::AnsiFile(header + text));
      else if (part == "user")
        user = text.substr(0, text.find('\n'));
      else
        expected = part == "undo" ? text : text.substr(0, text.find('\n'));
    }
    MemorySource backupSource(backup, 5);
    std::vector<MemorySource> scriptSources(scripts.begin(), scripts.end());
    std::vector<ByteSource*> sources;
    for (MemorySource& s : scriptSources) sources.push_back(&s);
    std::string bytes;
    UndoProblem problem;
    std::vector<ReadWarnings> warnings;
    if (MakeUndo(backupSource, sources, user, bytes, problem, warnings)) {
      EXPECT_EQ(ReadUtf16File(bytes), expected) << c.name;
      EXPECT_EQ(bytes, Utf16File(expected)) << c.name << ": not UTF-16 with CR LF";
    } else {
      const bool usage = problem.kind == UndoProblem::Kind::kUsage;
      std::string got = usage ? "usage: " : "input " + std::to_string(problem.input);
      if (problem.line) got += ", line " + std::to_string(problem.line);
      EXPECT_EQ(got + (usage ? "" : ": ") + problem.what, expected) << c.name;
    }
  }
}

}  // namespace
}  // namespace kwetro::undo
