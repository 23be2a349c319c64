// Writes registry text as REGEDIT /E does in version 5.00: UTF-16LE with a
// byte-order mark, CR LF, a blank line before each key, long hex data
// wrapped with a backslash and continued on lines indented by two blanks.
#pragma once

#include <string>
#include <string_view>

#include "undo/reg_value.h"

namespace kwetro::undo {

class RegWriter {
 public:
  void Key(std::u16string_view path);
  void DeleteKey(std::u16string_view path);
  // The value exactly as the export wrote it: name and string text with
  // their escapes, other data as the same type and bytes.
  void Value(const RegValue& value);
  void DeleteValue(std::u16string_view rawName);
  void Append(const RegWriter& other) { text_ += other.text_; }
  void Clear() { text_.clear(); }
  const std::u16string& Text() const { return text_; }

  // The whole file: byte-order mark, header, what was written, a last blank line.
  std::string FileBytes() const;

 private:
  std::size_t Name(std::u16string_view rawName);
  void Hex(const RegValue& value, std::size_t lineLength);

  std::u16string text_;
};

}  // namespace kwetro::undo
