// A registry script being built: lines given in UTF-8, kept as the
// Windows-1251 bytes of the file, each ended by CR LF, only ever appended, in
// the import format of the registry editor.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "options/controls.h"
#include "options/text_encoding.h"

namespace kwetro {

// Where the lines of a control stand in a script: the block (or key group)
// that holds them, as byte offsets. What a preview shows of a control.
struct BlockMark {
  ControlRef control;
  std::size_t begin = 0;
  std::size_t end = 0;
};

class RegScript {
 public:
  // Room for the largest script (every option written) at once.
  RegScript() { bytes_.reserve(32 * 1024); }

  void AppendLine(std::string_view line) {
    AppendCp1251(bytes_, line);
    AppendEmptyLine();
  }
  // "; " (or another prefix) followed by a caption, a hint or a fixed text.
  void AppendComment(std::string_view text, std::string_view prefix = "; ") {
    bytes_.append(prefix);
    AppendLine(text);
  }
  void AppendComment(const CaptionText& caption, std::string_view prefix = "; ") {
    bytes_.append(prefix);
    AppendCp1251(bytes_, caption.a);
    AppendCp1251(bytes_, caption.b);
    AppendLine(caption.c);
  }
  void AppendEmptyLine() {
    bytes_ += '\r';
    bytes_ += '\n';
  }

  // Another script's lines, and its marks, after these.
  void Append(const RegScript& part) {
    for (const BlockMark& mark : part.marks_)
      marks_.push_back({mark.control, mark.begin + bytes_.size(), mark.end + bytes_.size()});
    bytes_ += part.bytes_;
  }

  // The file's bytes: no byte-order mark, CR LF after every line.
  const std::string& Bytes() const { return bytes_; }

  std::size_t Size() const { return bytes_.size(); }
  // What was written since begin belongs to the control.
  void Mark(ControlRef control, std::size_t begin) {
    marks_.push_back({control, begin, bytes_.size()});
  }
  const std::vector<BlockMark>& Marks() const { return marks_; }

 private:
  std::string bytes_;
  std::vector<BlockMark> marks_;
};

}  // namespace kwetro
