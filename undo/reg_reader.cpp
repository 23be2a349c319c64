#include "undo/reg_reader.h"

#include "options/text_encoding.h"
#include "undo/line_decoder.h"

namespace kwetro::undo {
namespace {

constexpr std::size_t kNone = std::u16string_view::npos;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::size_t SkipBlanks(std::u16string_view s, std::size_t i) {
  while (i < s.size() && IsBlank(s[i])) ++i;
  return i;
}

// Nothing but blanks, perhaps followed by a comment, from i on.
bool NothingFrom(std::u16string_view s, std::size_t i) {
  i = SkipBlanks(s, i);
  return i == s.size() || s[i] == u';';
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool StartsWith(std::u16string_view s, std::size_t i, std::u16string_view prefix) {
  return s.substr(i, prefix.size()) == prefix;
}

// The closing quote of a quoted text whose first character is at i; a
// backslash escapes the character after it.
std::size_t ClosingQuote(std::u16string_view s, std::size_t i) {
  while (i < s.size()) {
    if (s[i] == u'\\') {
      i += 2;
    } else if (s[i] == u'"') {
      return i;
    } else {
      ++i;
    }
  }
  return kNone;
}

// A few characters from i on, to show where a line goes wrong.
std::string Excerpt(std::u16string_view s, std::size_t i) {
  std::string text = Utf16ToUtf8(s.substr(i, 24));
  return "\"" + text + (s.size() - i > 24 ? "...\"" : "\"");
}

constexpr std::u16string_view kHeader5 = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view kHeader4 = u"REGEDIT4";

class Reader {
 public:
  Reader(ByteSource& source, RegFileHandler& handler, Deletions deletions)
      : lines_(source), handler_(handler), deletions_(deletions) {}

  bool Run(ReadProblem& problem);

 private:
  enum class State { kHeader, kLineStart, kHexContinuation };
  enum class Key { kNone, kWanted, kIgnored };  // the key the values go to
  using LineHandler = bool (Reader::*)(std::u16string_view);

  bool HeaderLine(std::u16string_view line);
  bool StartLine(std::u16string_view line);
  bool ContinuationLine(std::u16string_view line);
  bool KeyAt(std::u16string_view line, std::size_t i);
  bool ValueAt(std::u16string_view line, std::size_t i);
  bool DataAt(std::u16string_view line, std::size_t i);
  bool HexAt(std::u16string_view line, std::size_t i);
  void Deliver();
  bool Fail(std::string what, long line = 0);

  LineDecoder lines_;
  RegFileHandler& handler_;
  Deletions deletions_;
  State state_ = State::kHeader;
  Key key_ = Key::kNone;
  ValueLine value_;
  // Copies that outlive the line: hex data may continue on the next ones.
  std::u16string rawName_, name_, widened_;
  std::string bytes_, widenedBytes_;
  ReadProblem problem_;
};

bool Reader::Fail(std::string what, long line) {
  problem_.line = line ? line : lines_.LineNumber();
  problem_.what = std::move(what);
  return false;
}

bool Reader::Run(ReadProblem& problem) {
  static constexpr LineHandler kHandlers[] = {&Reader::HeaderLine, &Reader::StartLine,
                                              &Reader::ContinuationLine};
  std::u16string_view line;
  bool ok = true;
  while (ok && lines_.Next(line)) ok = (this->*kHandlers[static_cast<int>(state_)])(line);
  if (ok && lines_.Failed()) {
    problem_ = lines_.Problem();
    ok = false;
  } else if (ok && state_ == State::kHeader) {
    ok = Fail("empty file: no REGEDIT header", 1);
  } else if (ok && state_ == State::kHexContinuation) {
    ok = Fail("the value starting here goes on past the end of the file (truncated?)", value_.line);
  }
  if (!ok) problem = problem_;
  return ok;
}

bool Reader::HeaderLine(std::u16string_view line) {
  const std::u16string_view text = line.substr(SkipBlanks(line, 0));
  if (text != kHeader5 && text != kHeader4)
    return Fail(
        "not a REGEDIT file: the first line is neither \"Windows Registry Editor Version "
        "5.00\" nor \"REGEDIT4\"");
  state_ = State::kLineStart;
  return true;
}

bool Reader::StartLine(std::u16string_view line) {
  const std::size_t i = SkipBlanks(line, 0);
  if (i == line.size() || line[i] == u';') return true;
  if (line[i] == u'[') return KeyAt(line, i + 1);
  if (line[i] == u'@' || line[i] == u'"') return ValueAt(line, i);
  return Fail("neither a key, a value nor a comment: " + Excerpt(line, i));
}

bool Reader::ContinuationLine(std::u16string_view line) {
  const std::size_t i = SkipBlanks(line, 0);
  if (i == line.size() || line[i] == u';') return true;
  return HexAt(line, i);
}

bool Reader::KeyAt(std::u16string_view line, std::size_t i) {
  const std::size_t close = line.rfind(u']');
  if (close == kNone || close < i) return Fail("key name without its closing \"]\"");
  std::u16string_view path = line.substr(i, close - i);
  KeyLine key;
  key.line = lines_.LineNumber();
  key.deletion = !path.empty() && path[0] == u'-';
  if (key.deletion) path.remove_prefix(1);
  if (!SplitRoot(path, key.root, key.rest))
    return Fail("unknown root key \"" + Utf16ToUtf8(path.substr(0, path.find(u'\\'))) +
                "\" (REGEDIT takes full names such as HKEY_LOCAL_MACHINE)");
  if (!key.deletion) {
    key_ = handler_.OnKey(key) ? Key::kWanted : Key::kIgnored;
    return true;
  }
  if (deletions_ == Deletions::kRefused)
    return Fail("a key deletion, which no registry export holds");
  std::u16string_view rest = key.rest, component;
  if (!NextComponent(rest, component)) return Fail("deletion of a whole root key");
  key_ = Key::kNone;  // REGEDIT closes the key: values up to the next key go nowhere
  handler_.OnKey(key);
  return true;
}

bool Reader::ValueAt(std::u16string_view line, std::size_t i) {
  value_ = ValueLine();
  value_.line = lines_.LineNumber();
  std::u16string_view rawName;
  std::size_t j = i + 1;
  if (line[i] == u'"') {
    const std::size_t close = ClosingQuote(line, i + 1);
    if (close == kNone) return Fail("value name without its closing quote");
    rawName = line.substr(i + 1, close - i - 1);
    j = close + 1;
  }
  j = SkipBlanks(line, j);
  if (j == line.size() || line[j] != u'=') return Fail("no \"=\" after the value name");
  if (key_ == Key::kWanted) {
    rawName_.assign(rawName);
    name_.clear();
    AppendUnescaped(rawName, name_);
  }
  return DataAt(line, SkipBlanks(line, j + 1));
}

bool Reader::DataAt(std::u16string_view line, std::size_t i) {
  if (StartsWith(line, i, u"-")) {
    if (!NothingFrom(line, i + 1)) return Fail("text after \"=-\": " + Excerpt(line, i));
    if (deletions_ == Deletions::kRefused)
      return Fail("a value deletion, which no registry export holds");
    value_.deletion = true;
    Deliver();
    return true;
  }
  if (StartsWith(line, i, u"\"")) {
    const std::size_t close = ClosingQuote(line, i + 1);
    if (close == kNone) return Fail("string without its closing quote");
    if (!NothingFrom(line, close + 1))
      return Fail("text after the string's closing quote: " + Excerpt(line, close + 1));
    value_.kind = ValueKind::kString;
    value_.type = 1;
    value_.rawString = line.substr(i + 1, close - i - 1);
    Deliver();
    return true;
  }
  if (StartsWith(line, i, u"dword:")) {
    std::size_t k = SkipBlanks(line, i + 6);
    std::uint32_t number = 0;
    int digits = 0;
    for (; k < line.size() && HexDigit(line[k]) >= 0; ++k, ++digits)
      number = number << 4 | static_cast<std::uint32_t>(HexDigit(line[k]));
    if (digits == 0 || digits > 8 || !NothingFrom(line, k))
      return Fail("bad dword value: " + Excerpt(line, i));
    value_.kind = ValueKind::kDword;
    value_.type = 4;
    bytes_.clear();
    for (int b = 0; b < 4; ++b) bytes_ += static_cast<char>(number >> (8 * b) & 0xFF);
    Deliver();
    return true;
  }
  std::size_t k = i;
  value_.type = 3;
  if (StartsWith(line, i, u"hex:")) {
    k += 4;
  } else if (StartsWith(line, i, u"hex(")) {
    std::uint64_t type = 0;
    for (k += 4; k < line.size() && HexDigit(line[k]) >= 0 && type <= 0xFFFFFFFF; ++k)
      type = type << 4 | static_cast<std::uint64_t>(HexDigit(line[k]));
    if (k == i + 4 || type > 0xFFFFFFFF || !StartsWith(line, k, u"):"))
      return Fail("bad value type: " + Excerpt(line, i));
    value_.type = static_cast<std::uint32_t>(type);
    k += 2;
  } else {
    return Fail("unknown value type: " + Excerpt(line, i));
  }
  value_.kind = ValueKind::kHex;
  bytes_.clear();
  return HexAt(line, k);
}

// Bytes written as hex digits separated by commas; a backslash at the end of
// a line continues the list on the next one.
bool Reader::HexAt(std::u16string_view line, std::size_t i) {
  for (;;) {
    i = SkipBlanks(line, i);
    if (i == line.size() || line[i] == u';') break;
    if (line[i] == u'\\') {
      if (!NothingFrom(line, i + 1)) return Fail("text after \"\\\": " + Excerpt(line, i));
      state_ = State::kHexContinuation;
      return true;
    }
    const std::size_t start = i;
    unsigned byte = 0;
    for (; i < line.size() && HexDigit(line[i]) >= 0 && byte <= 0xFF; ++i)
      byte = byte << 4 | static_cast<unsigned>(HexDigit(line[i]));
    if (i == start || byte > 0xFF) return Fail("bad hex data: " + Excerpt(line, start));
    if (key_ == Key::kWanted) bytes_ += static_cast<char>(byte);
    i = SkipBlanks(line, i);
    if (i == line.size() || line[i] == u';') break;
    if (line[i] == u',') {
      ++i;
    } else if (line[i] != u'\\') {
      return Fail("bad hex data: " + Excerpt(line, start));
    }
  }
  state_ = State::kLineStart;
  Deliver();
  return true;
}

void Reader::Deliver() {
  if (key_ != Key::kWanted) return;
  value_.rawName = rawName_;
  value_.name = name_;
  value_.bytes = bytes_;
  if (value_.kind == ValueKind::kHex && lines_.Ansi() && (value_.type == 2 || value_.type == 7)) {
    widened_.clear();
    AppendUtf16OfCp1251(bytes_, widened_);
    widenedBytes_.clear();
    AppendUtf16Le(widened_, widenedBytes_);
    value_.bytes = widenedBytes_;
  }
  handler_.OnValue(value_);
}

}  // namespace

RegValue ToRegValue(const ValueLine& value) {
  RegValue v;
  v.rawName = value.rawName;
  v.kind = value.kind;
  v.rawString = value.rawString;
  v.type = value.type;
  v.bytes = value.bytes;
  return v;
}

bool ReadRegFile(ByteSource& source, RegFileHandler& handler, Deletions deletions,
                 ReadProblem& problem) {
  return Reader(source, handler, deletions).Run(problem);
}

}  // namespace kwetro::undo
