// A registry script being built: lines given in UTF-8, kept as the
// Windows-1251 bytes of the file, each ended by CR LF, only ever appended, in
// the import format of the registry editor.
#pragma once

#include <string>
#include <string_view>

#include "options/text_encoding.h"

namespace kwetro {

class RegScript {
 public:
  void AppendLine(std::string_view line) {
    AppendCp1251(bytes_, line);
    bytes_.append("\r\n");
  }
  // "; " (or another prefix) followed by a caption, a hint or a fixed text.
  void AppendComment(std::string_view text, std::string_view prefix = "; ") {
    bytes_.append(prefix);
    AppendLine(text);
  }
  void AppendEmptyLine() { bytes_.append("\r\n"); }

  // The file's bytes: no byte-order mark, CR LF after every line.
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace kwetro
