// The lines of a registry file, decoded to UTF-16: REGEDIT's files are UTF-16
// with a byte-order mark (version 5.00 as REGEDIT /E writes it) or ANSI bytes,
// read here as Windows-1251. Lines end at CR LF, LF or CR; a last line without
// a line end is a line all the same, as REGEDIT reads it. Reads chunk by chunk
// and holds one line at a time.
#pragma once

#include <string>
#include <string_view>

#include "undo/byte_source.h"
#include "undo/read_problem.h"

namespace kwetro::undo {

// The longest line accepted, in bytes of the file. A wrapped export keeps its
// lines near 80 characters; a longer line is a damaged file or not a
// registry file at all, and is refused before it can exhaust memory.
constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

class LineDecoder {
 public:
  explicit LineDecoder(ByteSource& source) : source_(source) {}

  // The next line without its line end, valid until the next call. False at
  // the end of the file and on a problem (Failed()).
  bool Next(std::u16string_view& line);

  bool Failed() const { return failed_; }
  const ReadProblem& Problem() const { return problem_; }
  long LineNumber() const { return lineNumber_; }  // of the line last returned
  bool Ansi() const { return ansi_; }              // no UTF-16 byte-order mark
  // At the end of the file: the last line had no line end; a UTF-16 file
  // ended with half a character, which is not read.
  bool LastLineUnended() const { return lastLineUnended_; }
  bool OddByteDropped() const { return oddByteDropped_; }

 private:
  bool Fill();
  bool Fail(long line, std::string what);
  // Appends the characters up to the next line end; true when it found one.
  template <typename Unit>
  bool Take(std::basic_string<Unit>& line);

  ByteSource& source_;
  std::string chunk_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool started_ = false;
  bool atEnd_ = false;
  bool ansi_ = false;
  bool afterCr_ = false;  // the last line ended with CR: an LF next belongs to it
  bool lineOpen_ = false;
  bool failed_ = false;
  bool lastLineUnended_ = false;
  bool oddByteDropped_ = false;
  std::string ansiLine_;
  std::u16string line_;
  long lineNumber_ = 0;
  ReadProblem problem_;
};

}  // namespace kwetro::undo
