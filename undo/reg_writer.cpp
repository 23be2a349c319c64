#include "undo/reg_writer.h"

#include "options/number_text.h"
#include "options/text_encoding.h"
#include "undo/reg_names.h"

namespace kwetro::undo {
namespace {

// Where REGEDIT wraps hex data: once a line holds this many characters.
constexpr std::size_t kHexLineLength = 77;

std::u16string HexText(std::uint32_t number, int digits) {
  return Cp1251ToUtf16(HexDigits(number, digits));
}

}  // namespace

void RegWriter::Key(std::u16string_view path) {
  text_ += u"\r\n[";
  text_ += path;
  text_ += u"]\r\n";
}

void RegWriter::DeleteKey(std::u16string_view path) {
  text_ += u"\r\n[-";
  text_ += path;
  text_ += u"]\r\n";
}

std::size_t RegWriter::Name(std::u16string_view rawName) {
  const std::size_t start = text_.size();
  if (rawName.empty()) {
    text_ += u"@=";
  } else {
    text_ += u'"';
    text_ += rawName;
    text_ += u"\"=";
  }
  return text_.size() - start;
}

void RegWriter::DeleteValue(std::u16string_view rawName) {
  Name(rawName);
  text_ += u"-\r\n";
}

void RegWriter::Value(const RegValue& value) {
  const std::size_t nameLength = Name(value.rawName);
  if (value.kind == ValueKind::kString) {
    text_ += u'"';
    text_ += value.rawString;
    text_ += u'"';
  } else if (value.kind == ValueKind::kDword) {
    unsigned number = 0;
    for (std::size_t i = value.bytes.size(); i-- > 0;)
      number = number << 8 | static_cast<unsigned char>(value.bytes[i]);
    text_ += u"dword:" + HexText(number, 8);
  } else {
    Hex(value, nameLength);
  }
  text_ += u"\r\n";
}

void RegWriter::Hex(const RegValue& value, std::size_t lineLength) {
  const std::u16string type =
      value.type == kRegBinary ? u"hex:" : u"hex(" + HexText(value.type, 1) + u"):";
  text_ += type;
  lineLength += type.size();
  for (std::size_t i = 0; i < value.bytes.size(); ++i) {
    text_ += HexText(static_cast<unsigned char>(value.bytes[i]), 2);
    if (i + 1 == value.bytes.size()) break;
    text_ += u',';
    lineLength += 3;
    if (lineLength >= kHexLineLength) {
      text_ += u"\\\r\n  ";
      lineLength = 2;
    }
  }
}

std::string RegWriter::FileBytes() const {
  const std::u16string text = u"Windows Registry Editor Version 5.00\r\n" + text_ + u"\r\n";
  std::string bytes = "\xFF\xFE";
  AppendUtf16Le(text, bytes);
  return bytes;
}

}  // namespace kwetro::undo
