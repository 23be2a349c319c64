// Reads a REGEDIT file ("Windows Registry Editor Version 5.00" or
// "REGEDIT4"), line by line, as a state machine over the decoded lines, and
// hands each key and value to a handler. A sound file is read as REGEDIT
// reads it; where REGEDIT would skip a line it cannot read, this reader
// refuses the file instead, so that a damaged export is never taken for the
// registry's state.
#pragma once

#include <cstdint>
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
  bool deletion = false;        // "name"=-
  ValueKind kind = ValueKind::kString;
  std::u16string_view rawString;  // kString: between the quotes as written
  std::uint32_t type = 0;         // kHex: N of hex(N), 3 for hex:
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
  // does not are still checked but not handed over.
  virtual bool OnKey(const KeyLine& key) = 0;
  virtual void OnValue(const ValueLine& value) = 0;
};

// A registry export describes a state: it deletes nothing.
enum class Deletions { kAllowed, kRefused };

// False, with the problem and its line, when the file is not a sound
// REGEDIT file or cannot be read.
bool ReadRegFile(ByteSource& source, RegFileHandler& handler, Deletions deletions,
                 ReadProblem& problem);

}  // namespace kwetro::undo
