// The undo file of scripts and a backup: one row per way the scripts can
// touch the registry and per layout of the backup.
#include "undo/undo.h"

#include <gtest/gtest.h>

#include <vector>

#include "undo/reg_files.h"

namespace kwetro::undo {
namespace {

using testing::ReadUtf16File;
using testing::Utf16File;

const char kHeader[] = "Windows Registry Editor Version 5.00\n\n";

// An export of the whole registry: every root and hive has a key line of its own.
std::string Export(const std::string& keys) {
  return Utf16File(kHeader + std::string("[HKEY_LOCAL_MACHINE]\n\n[HKEY_USERS]\n\n") + keys);
}

std::string Script(const std::string& lines) { return testing::AnsiFile(kHeader + lines); }

struct Case {
  const char* name;
  std::string backup;
  std::vector<std::string> scripts;
  std::string expected;  // what follows the header, or the problem
  std::string user = "";
};

const char kWrappedHex[] =
    "\"bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
    "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f,\\\n"
    "  30,31\n";

const std::string kTwoUsers =
    "[HKEY_USERS\\S-1-5-21-1-2-3-1003]\n\n[HKEY_USERS\\S-1-5-21-1-2-3-1003\\Console]\n"
    "\"c\"=dword:00000002\n\n[HKEY_USERS\\S-1-5-21-1-2-3-1004]\n\n"
    "[HKEY_USERS\\S-1-5-21-1-2-3-1004\\Console]\n\"c\"=dword:00000003\n\n";

const Case kCases[] = {
    {"values come back with the backup's spelling, type and data, or go",
     Export("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kw]\n\"MenuShowDelay\"=\"400\"\n"
            "\"Имя\"=dword:00000001\n\"Bin\"=hex(0):\n\"Keep\"=\"1\"\n@=\"default\"\n\n"),
     {Script("[HKEY_LOCAL_MACHINE\\Software\\kw]\n\"menushowdelay\"=\"0\"\n\"ИМЯ\"=-\n"
             "\"New\"=\"1\"\n\"bin\"=hex:00\n@=-\n\"Gone\"=-\n")},
     "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kw]\n\"MenuShowDelay\"=\"400\"\n\"Имя\"=dword:00000001\n"
     "\"New\"=-\n\"Bin\"=hex(0):\n@=\"default\"\n\"Gone\"=-\n\n"},
    {"created keys: the topmost one the backup lacks goes, once",
     Export("[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n\n"),
     {Script("[HKEY_LOCAL_MACHINE\\Software\\A\\B\\C]\n\"x\"=\"1\"\n"
             "[HKEY_LOCAL_MACHINE\\Software\\A\\B\\D]\n[HKEY_LOCAL_MACHINE\\Software\\A]\n"
             "\"y\"=\"2\"\n")},
     "\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\B]\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n\"y\"=-\n\n"},
    {"a deleted key comes back exactly, whatever the scripts put there before or after",
     Export("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw]\n\"s\"=\"a\\\\b \\\"q\\\"\"\n" +
            std::string(kWrappedHex) +
            "\"exp\"=hex(2):25,00,41,00,25,00,00,00\n\"d\"=dword:00000010\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw\\Empty]\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw\\Sub]\n@=\"x\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Other]\n\"o\"=\"1\"\n\n"),
     {Script("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw]\n\"s\"=\"new\"\n"
             "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw]\n"
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw\\Added]\n\"z\"=\"1\"\n"),
      Script("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw\\Sub]\n\"t\"=\"2\"\n")},
     "\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw]\n\n"
     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw]\n\"s\"=\"a\\\\b \\\"q\\\"\"\n" +
         std::string(kWrappedHex) +
         "\"exp\"=hex(2):25,00,41,00,25,00,00,00\n\"d\"=dword:00000010\n\n"
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw\\Empty]\n\n"
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Kw\\Sub]\n@=\"x\"\n\n"},
    {"a deleted key the backup lacks, made again by a later line, goes",
     Export("[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"),
     {Script("[-HKEY_LOCAL_MACHINE\\SOFTWARE\\New]\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\New\\Sub]\n"
             "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Never]\n")},
     "\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\New]\n\n"},
    {"HKEY_CURRENT_USER is the one user's hive under HKEY_USERS, as Wine exports",
     Export("[HKEY_USERS\\.DEFAULT\\Control Panel]\n\"x\"=\"def\"\n\n"
            "[HKEY_USERS\\S-1-5-18\\Control Panel]\n\"x\"=\"system\"\n\n"
            "[HKEY_USERS\\S-1-5-21-0-0-0-1000]\n\n"
            "[HKEY_USERS\\S-1-5-21-0-0-0-1000\\Control Panel]\n\"x\"=\"user\"\n\n"
            "[HKEY_USERS\\S-1-5-21-0-0-0-1000_Classes\\Control Panel]\n\"x\"=\"classes\"\n\n"),
     {Script("[HKEY_CURRENT_USER\\Control Panel]\n\"x\"=\"1\"\n"),
      Script("[HKEY_USERS\\.DEFAULT\\Control Panel]\n\"x\"=-\n")},
     "\n[HKEY_CURRENT_USER\\Control Panel]\n\"x\"=\"user\"\n\n"
     "[HKEY_USERS\\.DEFAULT\\Control Panel]\n\"x\"=\"def\"\n\n"},
    {"one key through two roots: set through one, deleted through the other",
     Export("[HKEY_USERS\\S-1-5-21-0-0-0-1000]\n\n[HKEY_USERS\\S-1-5-21-0-0-0-1000\\X]\n"
            "\"v\"=\"old\"\n\"w\"=\"keep\"\n\n"),
     {Script("[HKEY_CURRENT_USER\\X]\n\"v\"=\"new\"\n"),
      Script("[-HKEY_USERS\\S-1-5-21-0-0-0-1000\\X]\n")},
     "\n[-HKEY_USERS\\S-1-5-21-0-0-0-1000\\X]\n\n[HKEY_CURRENT_USER\\X]\n\"v\"=\"old\"\n\n"
     "[HKEY_USERS\\S-1-5-21-0-0-0-1000\\X]\n\"v\"=\"old\"\n\"w\"=\"keep\"\n\n"},
    {"HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\\Software\\Classes without a section of its own",
     Export("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes]\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{1}]\n@=\"one\"\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{1}\\InprocServer32]\n@=\"x.dll\"\n\n"),
     {Script("[-HKEY_CLASSES_ROOT\\CLSID\\{1}]\n[HKEY_CLASSES_ROOT\\.new]\n@=\"f\"\n")},
     "\n[-HKEY_CLASSES_ROOT\\CLSID\\{1}]\n\n[-HKEY_CLASSES_ROOT\\.new]\n\n"
     "[HKEY_CLASSES_ROOT\\CLSID\\{1}]\n@=\"one\"\n\n"
     "[HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32]\n@=\"x.dll\"\n\n"},
    {"sections of their own, as Windows exports, are read there",
     Export("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.txt]\n@=\"machine\"\n\n"
            "[HKEY_CURRENT_USER]\n\n[HKEY_CURRENT_USER\\Console]\n\"c\"=dword:00000001\n\n"
            "[HKEY_CLASSES_ROOT]\n\n[HKEY_CLASSES_ROOT\\.txt]\n@=\"merged\"\n\n" +
            kTwoUsers),
     {Script("[HKEY_CLASSES_ROOT\\.txt]\n@=\"t\"\n[HKEY_CURRENT_USER\\Console]\n\"c\"=dword:5\n")},
     "\n[HKEY_CLASSES_ROOT\\.txt]\n@=\"merged\"\n\n[HKEY_CURRENT_USER\\Console]\n"
     "\"c\"=dword:00000001\n\n"},
    {"--user chooses among several users",
     Export(kTwoUsers),
     {Script("[HKEY_CURRENT_USER\\Console]\n\"c\"=-\n")},
     "\n[HKEY_CURRENT_USER\\Console]\n\"c\"=dword:00000003\n\n",
     "s-1-5-21-1-2-3-1004"},
    {"an ANSI REGEDIT4 backup: hex(2) text widened, written back as UTF-16",
     testing::AnsiFile("REGEDIT4\n\n[HKEY_LOCAL_MACHINE]\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n"
                       "\"e\"=hex(2):25,c6,00\n\"s\"=\"Привет\"\n\n"),
     {Script("[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n\"e\"=-\n\"s\"=-\n")},
     "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n\"e\"=hex(2):25,00,16,04,00,00\n\"s\"=\"Привет\"\n\n"},

    {"several users, none chosen",
     Export(kTwoUsers),
     {Script("[HKEY_CURRENT_USER\\Console]\n\"c\"=-\n")},
     "usage: holds several users (S-1-5-21-1-2-3-1003, S-1-5-21-1-2-3-1004); choose the one the "
     "scripts were imported for with --user SID"},
    {"a user the backup lacks",
     Export(kTwoUsers),
     {Script("[HKEY_USERS\\A]\n")},
     "usage: holds no user S-1-5-21-9 (its users: S-1-5-21-1-2-3-1003, S-1-5-21-1-2-3-1004)",
     "S-1-5-21-9"},
    {"no user's hive, only keys below one (an export of one key)",
     Export("[HKEY_USERS\\.DEFAULT]\n\n[HKEY_USERS\\S-1-5-21-0-0-0-1000\\Console]\n\n"),
     {Script("[HKEY_CURRENT_USER\\Console]\n")},
     "input 0: holds no user's hive (neither [HKEY_CURRENT_USER] nor [HKEY_USERS\\S-1-5-21-...]) "
     "for the scripts' HKEY_CURRENT_USER"},
    {"an export of one key, not of the whole registry",
     Utf16File(kHeader + std::string("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.txt]\n\n")),
     {Script("[HKEY_CLASSES_ROOT\\.txt]\n")},
     "input 0: holds no key [HKEY_CLASSES_ROOT] nor [HKEY_LOCAL_MACHINE\\Software\\Classes]: it "
     "must be an export of the whole registry (REGEDIT /E without a key)"},
    {"the second script is bad",
     Export(""),
     {Script("[HKEY_LOCAL_MACHINE\\A]\n"), Script("[HKLM\\A]\n")},
     "input 2, line 3: unknown root key \"HKLM\" (REGEDIT takes full names such as "
     "HKEY_LOCAL_MACHINE)"},
};

TEST(Undo, PutsBackEveryTouchedKeyAndValueOrSaysWhyNot) {
  for (const Case& c : kCases) {
    MemorySource backup(c.backup, 5);
    std::vector<MemorySource> scriptSources(c.scripts.begin(), c.scripts.end());
    std::vector<ByteSource*> scripts;
    for (MemorySource& s : scriptSources) scripts.push_back(&s);
    std::string bytes;
    UndoProblem problem;
    if (MakeUndo(backup, scripts, c.user, bytes, problem)) {
      const std::string header = "Windows Registry Editor Version 5.00\n";
      EXPECT_EQ(ReadUtf16File(bytes), header + c.expected) << c.name;
      EXPECT_EQ(bytes, Utf16File(header + c.expected)) << c.name << ": not UTF-16 with CR LF";
    } else {
      const bool usage = problem.kind == UndoProblem::Kind::kUsage;
      std::string got = usage ? "usage: " : "input " + std::to_string(problem.input);
      if (problem.line) got += ", line " + std::to_string(problem.line);
      EXPECT_EQ(got + (usage ? "" : ": ") + problem.what, c.expected) << c.name;
    }
  }
}

}  // namespace
}  // namespace kwetro::undo
