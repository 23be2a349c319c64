// The REGEDIT file reader: one row per kind of input, good and bad. Each
// input is read in pieces of 1, 3 and any number of bytes, so that every
// chunk boundary falls inside a character, a line end and a line.
#include "undo/reg_reader.h"

#include <gtest/gtest.h>

#include "options/text_encoding.h"
#include "undo/reg_files.h"

namespace kwetro::undo {
namespace {

using testing::AnsiFile;
using testing::Utf16File;

// What the reader hands over, one line per key or value.
class Dump : public RegFileHandler {
 public:
  std::string text;

  bool OnKey(const KeyLine& key) override {
    text += std::string(key.deletion ? "[-" : "[") + Utf16ToUtf8(RootName(key.root)) + "|" +
            Utf16ToUtf8(key.rest) + "]\n";
    return true;
  }
  void OnValue(const ValueLine& v) override {
    text += "{" + Utf16ToUtf8(v.name) + "}=";
    if (v.deletion) {
      text += "-";
    } else if (v.kind == ValueKind::kString) {
      text += "\"" + Utf16ToUtf8(v.rawString) + "\"";
    } else {
      char type[24];
      std::snprintf(type, sizeof type, v.kind == ValueKind::kDword ? "dword:" : "hex(%x):", v.type);
      text += type;
      for (unsigned char b : v.bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", b);
        text += hex;
      }
    }
    text += "\n";
  }
};

struct Case {
  const char* name;
  std::string file;
  std::string expected;  // the dump, or "line N: what" for a refused file
  Deletions deletions = Deletions::kAllowed;
};

const std::string kLongLine(600 * 1024, 'x');

const Case kCases[] = {
    {"export as REGEDIT /E writes it",
     Utf16File("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\A]\n"
               "@=\"def\"\n\"Path\"=\"C:\\\\Мои \\\"док\\\"\"\n\"n\"=dword:0000ff01\n"
               "\"bin\"=hex:01,02,\\\n  03,\\\n\n; a comment\n  ff\n"
               "\"esc \\\\ \\\" \\n \\x\"=hex(7):41,00,00,00,00,00\n\n[hkey_users\\.DEFAULT]\n\n"),
     "[HKEY_LOCAL_MACHINE|Software\\A]\n{}=\"def\"\n{Path}=\"C:\\\\Мои \\\"док\\\"\"\n"
     "{n}=dword:01ff0000\n{bin}=hex(3):010203ff\n{esc \\ \" \n \\x}=hex(7):410000000000\n"
     "[HKEY_USERS|.DEFAULT]\n",
     Deletions::kRefused},
    {"REGEDIT4, ANSI: hex(2) and hex(7) text widened to UTF-16, hex(1) and strings as they are",
     AnsiFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\Ключ]\n\"Имя\"=\"Значение\"\n"
              "\"e\"=hex(2):25,c6,00\n\"m\"=hex(7):61,00,00\n\"s\"=hex(1):c6,00\n"),
     "[HKEY_CURRENT_USER|Ключ]\n{Имя}=\"Значение\"\n{e}=hex(2):250016040000\n"
     "{m}=hex(7):610000000000\n{s}=hex(1):c600\n"},
    {"LF and lone CR line ends, blanks around everything, comments after data",
     AnsiFile("  Windows Registry Editor Version 5.00\r[HKEY_CLASSES_ROOT\\.txt] ; text\r\r"
              "  @ = \"x\" ; note\n\t\"d\"=dword: 1 \n\"h\"=hex(ffffffff): 1 , 0a ,\n\"e\"=hex:\n"),
     "[HKEY_CLASSES_ROOT|.txt]\n{}=\"x\"\n{d}=dword:01000000\n{h}=hex(ffffffff):010a\n"
     "{e}=hex(3):\n"},
    {"a script: deletions; values outside a key go nowhere, as in REGEDIT",
     AnsiFile("Windows Registry Editor Version 5.00\n\"lost\"=\"1\"\n"
              "[-HKEY_CURRENT_CONFIG\\Old]\n\"lost\"=\"2\"\n[HKEY_USERS\\S\\K]\n\"v\"=-\n"),
     "[-HKEY_CURRENT_CONFIG|Old]\n[HKEY_USERS|S\\K]\n{v}=-\n"},

    {"empty file", "", "line 1: empty file: no REGEDIT header"},
    {"not a REGEDIT file", AnsiFile("[Settings]\nChecked=1\n"),
     "line 1: not a REGEDIT file: the first line is neither"},
    {"UTF-16 without a byte-order mark", Utf16File("REGEDIT4\n").substr(2),
     "line 1: NUL character"},
    {"odd number of bytes", Utf16File("REGEDIT4\n[HKEY_USERS\\A]\n") + "x",
     "line 3: odd number of bytes"},
    {"the last line has no line end", Utf16File("REGEDIT4\n[HKEY_USERS\\A]\n\"v\"=\"1"),
     "line 3: the last line has no line end"},
    {"the file ends inside continued hex data",
     Utf16File("REGEDIT4\n[HKEY_USERS\\A]\n\"v\"=hex:01,\\\n  02,\\\n"),
     "line 3: the value starting here goes on past the end of the file"},
    {"unterminated string", AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\n\"v\"=\"abc\\\"\n"),
     "line 3: string without its closing quote"},
    {"unterminated value name", AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\n\"v=abc\n"),
     "line 3: value name without its closing quote"},
    {"text after a string", AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\n\"v\"=\"a\"b\n"),
     "line 3: text after the string's closing quote: \"b\""},
    {"bad hex", AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\n\"v\"=hex:01,zz\n"),
     "line 3: bad hex data: \"zz\""},
    {"bad hex on a continuation line",
     AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\n\"v\"=hex:01,\\\n[HKEY_USERS\\B]\n"),
     "line 4: bad hex data: \"[HKEY_USERS\\B]\""},
    {"a hex byte over ff", AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\n\"v\"=hex:100\n"),
     "line 3: bad hex data"},
    {"bad hex type", AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\n\"v\"=hex(0x2):00\n"),
     "line 3: bad value type: \"hex(0x2):00\""},
    {"a dword of nine digits", AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\n\"v\"=dword:123456789\n"),
     "line 3: bad dword value"},
    {"unknown value type", AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\n\"v\"=str:\"x\"\n"),
     "line 3: unknown value type: \"str:\"x\"\""},
    {"a short root name", AnsiFile("REGEDIT4\n\n[HKLM\\Software]\n"),
     "line 3: unknown root key \"HKLM\""},
    {"a key without its ]", AnsiFile("REGEDIT4\n[HKEY_USERS\\A\n"),
     "line 2: key name without its closing \"]\""},
    {"a line that is nothing REGEDIT reads", AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\nv=1\n"),
     "line 3: neither a key, a value nor a comment: \"v=1\""},
    {"deleting a whole root", AnsiFile("REGEDIT4\n[-HKEY_LOCAL_MACHINE\\]\n"),
     "line 2: deletion of a whole root key"},
    {"a deletion in an export", Utf16File("REGEDIT4\n[-HKEY_USERS\\A]\n"),
     "line 2: a key deletion, which no registry export holds", Deletions::kRefused},
    {"a line over 1 MiB", AnsiFile("REGEDIT4\n; " + kLongLine + kLongLine + "\n"),
     "line 2: line longer than 1 MiB"},
    {"a NUL character",
     AnsiFile("REGEDIT4\n[HKEY_USERS\\A]\n") + std::string("\"v\"=\"\0\"\r\n", 9),
     "line 3: NUL character"},
};

TEST(RegReader, ReadsEachKindOfInputOrNamesTheLineAndTheFault) {
  for (const Case& c : kCases) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, SIZE_MAX}) {
      if (piece == 1 && c.file.size() > 100000) continue;
      MemorySource source(c.file, piece);
      Dump dump;
      ReadProblem problem;
      const bool ok = ReadRegFile(source, dump, c.deletions, problem);
      const std::string got =
          ok ? dump.text : "line " + std::to_string(problem.line) + ": " + problem.what;
      if (ok || c.expected.rfind("line ", 0) != 0)
        EXPECT_EQ(got, c.expected) << c.name << ", pieces of " << piece;
      else
        EXPECT_EQ(got.substr(0, c.expected.size()), c.expected) << c.name << ": " << got;
    }
  }
}

}  // namespace
}  // namespace kwetro::undo
