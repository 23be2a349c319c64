// The REGEDIT file reader: one row per kind of input, good and bad
// (tests/undo/reader_cases.txt). Each input is read in pieces of 1, 3 and any
// number of bytes, so that every chunk boundary falls inside a character, a
// line end and a line.
#include "undo/reg_reader.h"

#include <gtest/gtest.h>

#include "options/text_encoding.h"
#include "support/files.h"
#include "undo/reg_files.h"

namespace kwetro::undo {
namespace {

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
    if (!v.rejected.empty()) {
      text += "(not imported)";
    } else if (v.deletion) {
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

// One row of tests/undo/reader_cases.txt as the reader sees it.
std::string File(const std::string& form, const std::string& text) {
  return form == "raw" ? text : form == "ansi" ? testing::AnsiFile(text) : testing::Utf16File(text);
}

TEST(RegReader, ReadsEachKindOfInputOrNamesTheLineAndTheFault) {
  auto rows = testing::ReadTable("tests/undo/reader_cases.txt");
  EXPECT_GE(rows.size(), 25u);
  const std::string longLine(600 * 1024, 'x');
  rows.push_back({"a line over 1 MiB", "ansi", "REGEDIT4\n; " + longLine + longLine + "\n",
                  "line 2: line longer than 1 MiB"});
  for (const auto& row : rows) {
    const std::string file = File(row.at(1), row.at(2)), &expected = row.at(3);
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, SIZE_MAX}) {
      if (piece == 1 && file.size() > 100000) continue;
      MemorySource source(file, piece);
      Dump dump;
      ReadProblem problem;
      ReadWarnings warnings;
      const FileKind kind = row[1] == "export" ? FileKind::kExport : FileKind::kScript;
      const bool ok = ReadRegFile(source, dump, kind, problem, warnings);
      for (const ReadProblem& w : warnings.first)
        dump.text += "! line " + std::to_string(w.line) + ": " + w.what + "\n";
      const std::string got =
          ok ? dump.text : "line " + std::to_string(problem.line) + ": " + problem.what;
      EXPECT_EQ(ok ? got : got.substr(0, expected.size()), expected)
          << row[0] << ", pieces of " << piece << ": " << got;
    }
  }
}

}  // namespace
}  // namespace kwetro::undo
