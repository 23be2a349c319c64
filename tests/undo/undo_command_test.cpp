// kwetro-cli undo as a user meets it: exit status, the message, and nothing
// written on any error.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/file_io.h"
#include "support/checks.h"
#include "support/files.h"
#include "undo/reg_files.h"

namespace kwetro {
namespace {

TEST(UndoCommand, ExitStatusAndMessageForEachOutcomeAndNothingWrittenOnAnError) {
  testing::TempDir dir;
  for (const testing::TextCase& c : testing::ReadCases("tests/undo/undo_command_files.txt")) {
    const auto& [form, text] = c.parts.at(0);
    dir.Write(c.name, form == "ansi" ? testing::AnsiFile(text) : testing::Utf16File(text));
  }
  const std::string header = "Windows Registry Editor Version 5.00\n\n";
  const std::string backup = dir.File("backup.reg"), script = dir.File("hkcu.reg"),
                    odd = dir.File("odd.reg");
  const std::string out = dir.File("out"), user = "S-1-5-21-1-1-1-1000";
  std::filesystem::create_directory(out);
  auto cases = testing::ReadCommandCases("tests/undo/undo_refusals.txt", dir.Path());
  EXPECT_EQ(cases.size(), 6u);
  cases.push_back(
      {{"undo", "--backup", backup, "--out", dir.File("missing"), "--user", user, script},
       kExitFailure,
       "kwetro-cli: cannot write undo file '" + JoinPath(dir.File("missing"), "undo.reg") + "': "});
  for (const auto& c : cases) {
    const testing::CliRun r = testing::Cli(c.args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_EQ(r.err.substr(0, c.message.size()), c.message);
    EXPECT_TRUE(std::filesystem::is_empty(out)) << c.message;
    EXPECT_FALSE(dir.Exists("undo.reg")) << c.message;
  }

  // A value line REGEDIT does not import counts as touched, with a warning.
  const testing::CliRun r =
      testing::Cli({"undo", "--user", user, "--backup", backup, "--out", out, script, odd});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.err, "kwetro-cli: warning: " + odd +
                       ", line 4: bad hex data: \"0g\": REGEDIT does not import this value\n");
  EXPECT_EQ(r.out, JoinPath(out, "undo.reg") + "\n");
  EXPECT_EQ(testing::ReadUtf16File(dir.Read("out/undo.reg")),
            header + "[HKEY_CURRENT_USER\\Console]\n\"c\"=dword:00000001\n\n");
}

}  // namespace
}  // namespace kwetro
