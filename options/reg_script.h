// A registry script being built: Windows-1251 lines, each ended by CR LF,
// only ever appended, in the import format of the registry editor.
#pragma once

#include <string>
#include <string_view>

namespace kwetro {

class RegScript {
 public:
  RegScript() { bytes_.reserve(32 * 1024); }

  void AppendLine(std::string_view line) {
    bytes_.append(line.data(), line.size());
    // Two characters are cheaper pushed than appended, at some 1700 lines a script.
    bytes_.push_back('\r');
    bytes_.push_back('\n');
  }
  // "; " followed by a caption, a hint or a fixed text.
  void AppendComment(std::string_view text, std::string_view prefix = "; ") {
    bytes_.append(prefix.data(), prefix.size());
    AppendLine(text);
  }
  void AppendEmptyLine() {
    bytes_.push_back('\r');
    bytes_.push_back('\n');
  }

  // The file's bytes: no byte-order mark, CR LF after every line.
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace kwetro
