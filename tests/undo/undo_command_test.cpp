// kwetro-cli undo as a user meets it: exit status, the message, and nothing
// written on any error.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/cli.h"
#include "app/file_io.h"
#include "support/temp_dir.h"
#include "undo/reg_files.h"

namespace kwetro {
namespace {

using testing::TempDir;

TEST(UndoCommand, ExitStatusAndMessageForEachOutcomeAndNothingWrittenOnAnError) {
  TempDir dir;
  dir.Write("backup.reg", testing::Utf16File("Windows Registry Editor Version 5.00\n\n"
                                             "[HKEY_USERS\\S-1-5-21-1-1-1-1000\\Console]\n"
                                             "\"c\"=dword:00000001\n\n"
                                             "[HKEY_USERS\\S-1-5-21-1-1-1-1001]\n\n"));
  dir.Write("hkcu.reg", testing::AnsiFile("Windows Registry Editor Version 5.00\n\n"
                                          "[HKEY_CURRENT_USER\\Console]\n\"c\"=dword:2\n"));
  dir.Write("bad.reg", testing::AnsiFile("Windows Registry Editor Version 5.00\n\n"
                                         "[HKEY_USERS\\A]\n\"v\"=hex:0g\n"));
  dir.Write("del.reg", testing::AnsiFile("REGEDIT4\n\n[-HKEY_USERS\\A]\n"));
  std::filesystem::create_directory(dir.File("out"));
  const std::string backup = dir.File("backup.reg"), script = dir.File("hkcu.reg");
  const std::string out = dir.File("out");
  const struct {
    std::vector<std::string> args;
    int code;
    std::string message;  // the start of what kwetro-cli says
  } cases[] = {
      {{"undo", "--backup", backup, script},
       kExitUsage,
       "kwetro-cli: the backup '" + backup + "' holds several users (S-1-5-21-1-1-1-1000, "},
      {{"undo", "--backup", backup, "--out", out, "--user", "S-1-5-21-1-1-1-1000", "--user", "x",
        script},
       kExitUsage,
       "kwetro-cli: --user given twice\nusage: kwetro-cli undo"},
      {{"undo", script}, kExitUsage, "kwetro-cli: undo needs --backup BACKUP.reg\nusage:"},
      {{"undo", "--backup", backup}, kExitUsage, "kwetro-cli: undo needs the registry scripts"},
      {{"undo", "--backup", backup, "--outdir", out, script},
       kExitUsage,
       "kwetro-cli: unknown argument '--outdir'"},
      {{"undo", "--backup", dir.File("absent.reg"), script},
       kExitFailure,
       "kwetro-cli: cannot read backup '" + dir.File("absent.reg") + "': "},
      {{"undo", "--backup", backup, "--out", out, script, dir.File("bad.reg")},
       kExitFailure,
       "kwetro-cli: " + dir.File("bad.reg") + ", line 4: bad hex data: \"0g\""},
      {{"undo", "--backup", dir.File("del.reg"), "--out", out, script},
       kExitFailure,
       "kwetro-cli: " + dir.File("del.reg") + ", line 3: a key deletion, which no registry"},
      {{"undo", "--backup", backup, "--out", dir.File("missing"), "--user", "S-1-5-21-1-1-1-1000",
        script},
       kExitFailure,
       "kwetro-cli: cannot write undo file '" + JoinPath(dir.File("missing"), "undo.reg") + "': "},
  };
  for (const auto& c : cases) {
    std::string stdout_text, stderr_text;
    EXPECT_EQ(RunCli(c.args, stdout_text, stderr_text), c.code) << stderr_text;
    EXPECT_EQ(stderr_text.substr(0, c.message.size()), c.message);
    EXPECT_FALSE(dir.Exists("out/undo.reg")) << c.message;
    EXPECT_FALSE(dir.Exists("undo.reg")) << c.message;
  }

  std::string stdout_text, stderr_text;
  ASSERT_EQ(
      RunCli({"undo", "--user", "S-1-5-21-1-1-1-1000", "--backup", backup, "--out", out, script},
             stdout_text, stderr_text),
      kExitOk)
      << stderr_text;
  EXPECT_EQ(stdout_text, JoinPath(out, "undo.reg") + "\n");
  EXPECT_EQ(testing::ReadUtf16File(dir.Read("out/undo.reg")),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Console]\n"
            "\"c\"=dword:00000001\n\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 1);
}

}  // namespace
}  // namespace kwetro
