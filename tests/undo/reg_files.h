// Registry files for the undo tests, written as UTF-8 text with LF line ends.
#pragma once

#include <string>
#include <string_view>

#include "options/text_encoding.h"
#include "support/files.h"

namespace kwetro::testing {

// As REGEDIT /E writes it: UTF-16LE with a byte-order mark, CR LF.
inline std::string Utf16File(std::string_view utf8) {
  std::string bytes = "\xFF\xFE";
  AppendUtf16Le(Cp1251ToUtf16(Utf8ToCp1251(CrLf(utf8))), bytes);
  return bytes;
}

// As Kwetro's scripts and REGEDIT4 exports are: Windows-1251, CR LF.
inline std::string AnsiFile(std::string_view utf8) { return Utf8ToCp1251(CrLf(utf8)); }

// A UTF-16 file as UTF-8 text with LF line ends; "no BOM" when it has none.
inline std::string ReadUtf16File(std::string_view bytes) {
  if (bytes.substr(0, 2) != "\xFF\xFE") return "no BOM";
  std::u16string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  static_cast<unsigned char>(bytes[i + 1]) << 8);
  std::string out;
  for (char c : Utf16ToUtf8(text))
    if (c != '\r') out += c;
  return out;
}

}  // namespace kwetro::testing
