// Reads a REGEDIT file ("Windows Registry Editor Version 5.00", "REGEDIT4",
// or the "REGEDIT" of Windows 3.1), line by line, as a state machine over the
// decoded lines, and hands each key and value to a handler, as REGEDIT
// imports them. A line REGEDIT skips is skipped with a warning; a value line
// REGEDIT does not import is still handed over, marked, since it names a
// value; a key deletion REGEDIT cannot carry out ends the reading, as it ends
// the import. Refused are only what REGEDIT refuses as a whole (no header, a
// NUL character, which also marks UTF-16 without a byte-order mark), a line
// over 1 MiB, and in an export any deletion.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "undo/byte_source.h"
#include "undo/read_problem.h"
#include "undo/reg_names.h"
#include "undo/reg_value.h"

namespace kwetro::undo {

struct KeyLine {
  Root root;
  std::u16string_view rest;  // the path below the root, as written
  bool deletion = false;     // [-...]
  long line = 0;
};

struct ValueLine {
  std::u16string_view rawName;  // between the quotes as written; empty for @
  std::u16string_view name;     // the same with its escapes resolved
  // Why REGEDIT does not import the line (or not whole); empty when it does.
  // The line names the value all the same; its data are not read.
  std::string_view rejected;
  bool deletion = false;  // "name"=-
  ValueKind kind = ValueKind::kString;
  std::u16string_view rawString;  // kString: between the quotes as written
  std::uint32_t type = 0;         // kHex: N of hex(N), kRegBinary for hex:
  // kDword: four bytes, little-endian; kHex: the data. In an ANSI file the
  // data of hex(2) and hex(7) are ANSI text and arrive here widened to UTF-16,
  // as the registry holds them.
  std::string_view bytes;
  long line = 0;
};

RegValue ToRegValue(const ValueLine& value);

class RegFileHandler {
 public:
  virtual ~RegFileHandler() = default;
  // Returns whether the values of this key matter; the values of a key that
  // does not are still read but not handed over.
  virtual bool OnKey(const KeyLine& key) = 0;
  virtual void OnValue(const ValueLine& value) = 0;
};

// A script changes the registry; an export (REGEDIT /E) describes a state
// and deletes nothing. An export that lacks its last line end may have been
// cut short, which the warnings say.
enum class FileKind { kScript, kExport };

// False, with the problem and its line, when the file is not one REGEDIT
// imports or cannot be read. Lines passed over are added to warnings.
bool ReadRegFile(ByteSource& source, RegFileHandler& handler, FileKind kind, ReadProblem& problem,
                 ReadWarnings& warnings);

class Reader;

// A script's lines handed over one at a time and read as the lines of a file
// after its header, for lines held apart from any file (the catalogue's):
// each key line goes to OnKey, each value to OnValue at the line that ends it
// (hex data go on over the lines a backslash joins). No line numbers.
class ScriptLineReader {
 public:
  explicit ScriptLineReader(RegFileHandler& handler);
  ~ScriptLineReader();
  ScriptLineReader(const ScriptLineReader&) = delete;
  ScriptLineReader& operator=(const ScriptLineReader&) = delete;

  void Read(std::u16string_view line);
  // Ends a value still open, as the end of a file ends it.
  void End();
  // The lines passed over, as REGEDIT passes over them.
  const ReadWarnings& Warnings() const { return warnings_; }

 private:
  MemorySource none_;  // the reader reads no bytes of its own
  ReadWarnings warnings_;
  std::unique_ptr<Reader> reader_;
};

}  // namespace kwetro::undo
