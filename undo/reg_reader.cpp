#include "undo/reg_reader.h"

#include "options/text_encoding.h"
#include "undo/line_decoder.h"
#include "options/reg_string.h"

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
constexpr std::u16string_view kHeader31 = u"REGEDIT";
constexpr std::u16string_view kClassesRoot = u"HKEY_CLASSES_ROOT";
// The bytes of a UTF-8 byte-order mark, read as Windows-1251.
constexpr std::u16string_view kUtf8Mark = u"\u043F\u00BB\u0457";

constexpr char kSkipped[] = ": skipped, as REGEDIT skips it";

}  // namespace

class Reader {
 public:
  Reader(ByteSource& source, RegFileHandler& handler, FileKind kind, ReadWarnings& warnings)
      : lines_(source), handler_(handler), kind_(kind), warnings_(warnings) {}

  bool Run(ReadProblem& problem);
  // A line handed over, read as a line after the header; and the end of them.
  void Feed(std::u16string_view line);
  void EndFeed() { EndOpenValue(); }

 private:
  // kWin31: a file of Windows 3.1; kDone: REGEDIT stopped, the rest is not read.
  enum class State { kHeader, kLineStart, kHexContinuation, kWin31, kDone };
  enum class Key { kNone, kWanted, kIgnored };  // the key the values go to
  using LineHandler = bool (Reader::*)(std::u16string_view);

  bool Line(std::u16string_view line);
  void EndOpenValue();
  bool HeaderLine(std::u16string_view line);
  bool StartLine(std::u16string_view line);
  bool ContinuationLine(std::u16string_view line);
  bool Win31Line(std::u16string_view line);
  bool KeyAt(std::u16string_view line, std::size_t i);
  bool DeletionOf(std::u16string_view path);
  bool ValueAt(std::u16string_view line, std::size_t i);
  bool DataAt(std::u16string_view line, std::size_t i);
  bool DwordAt(std::u16string_view line, std::size_t i);
  bool HexAt(std::u16string_view line, std::size_t i);
  void NameValue(std::u16string_view rawName);
  void Deliver();
  bool Reject(std::string why, const char* outcome = "REGEDIT does not import this value");
  bool Stop(const std::string& why);
  void Warn(std::string what, long line = 0) {
    warnings_.Add(line ? line : lines_.LineNumber(), std::move(what));
  }
  bool Fail(std::string what, long line = 0);

  LineDecoder lines_;
  RegFileHandler& handler_;
  FileKind kind_;
  ReadWarnings& warnings_;
  State state_ = State::kHeader;
  Key key_ = Key::kNone;
  ValueLine value_;
  // Copies that outlive the line: hex data may continue on the next ones.
  std::u16string rawName_, name_, widened_, rawString_;
  std::string bytes_, widenedBytes_, rejected_;
  ReadProblem problem_;
};

bool Reader::Fail(std::string what, long line) {
  problem_.line = line ? line : lines_.LineNumber();
  problem_.what = std::move(what);
  return false;
}

bool Reader::Line(std::u16string_view line) {
  static constexpr LineHandler kHandlers[] = {&Reader::HeaderLine, &Reader::StartLine,
                                              &Reader::ContinuationLine, &Reader::Win31Line};
  return (this->*kHandlers[static_cast<int>(state_)])(line);
}

// Hex data still waiting for a line after the last one.
void Reader::EndOpenValue() {
  if (state_ != State::kHexContinuation) return;
  state_ = State::kLineStart;
  Reject("the value goes on past the end of the file (truncated?)",
         "REGEDIT imports the bytes before the end");
}

void Reader::Feed(std::u16string_view line) {
  if (state_ == State::kHeader) state_ = State::kLineStart;
  if (state_ != State::kDone) Line(line);
}

bool Reader::Run(ReadProblem& problem) {
  std::u16string_view line;
  bool ok = true;
  while (ok && state_ != State::kDone && lines_.Next(line)) ok = Line(line);
  if (ok && lines_.Failed()) {
    problem_ = lines_.Problem();
    ok = false;
  } else if (ok && state_ == State::kHeader) {
    ok = Fail("empty file: no REGEDIT header", 1);
  } else if (ok) {
    EndOpenValue();
  }
  if (ok && lines_.OddByteDropped())
    Warn(
        "odd number of bytes: the UTF-16 text ends inside a character, which is not read "
        "(truncated?)",
        lines_.LineNumber() + (lines_.LastLineUnended() ? 0 : 1));
  if (ok && lines_.LastLineUnended() && kind_ == FileKind::kExport)
    Warn(
        "the last line has no line end, which every line of an export has: the export may be "
        "cut short");
  if (!ok) problem = problem_;
  return ok;
}

bool Reader::HeaderLine(std::u16string_view line) {
  const std::u16string_view text = line.substr(SkipBlanks(line, 0));
  if (text == kHeader5 || text == kHeader4) {
    state_ = State::kLineStart;
  } else if (text == kHeader31) {
    state_ = State::kWin31;
  } else if (StartsWith(text, 0, kHeader31)) {
    Warn("REGEDIT imports nothing from a file whose first line is " + Excerpt(text, 0));
    state_ = State::kDone;
  } else if (StartsWith(line, 0, kUtf8Mark)) {
    return Fail(
        "not a REGEDIT file: it begins with a UTF-8 byte-order mark (REGEDIT reads ANSI "
        "and UTF-16 files)");
  } else {
    return Fail(
        "not a REGEDIT file: the first line is neither \"Windows Registry Editor Version "
        "5.00\" nor \"REGEDIT4\"");
  }
  return true;
}

bool Reader::StartLine(std::u16string_view line) {
  const std::size_t i = SkipBlanks(line, 0);
  if (i == line.size() || line[i] == u';' || line[i] == u'#') return true;
  if (line[i] == u'[') return KeyAt(line, i + 1);
  if (line[i] == u'@' || line[i] == u'"') return ValueAt(line, i);
  Warn("neither a key, a value nor a comment: " + Excerpt(line, i) + kSkipped);
  return true;
}

// Hex data go on after a line that ends with a backslash; blank lines and
// comments between are passed over. A line that holds no hex data ends the
// value, which REGEDIT then drops, and is read as a line of its own.
bool Reader::ContinuationLine(std::u16string_view line) {
  const std::size_t i = SkipBlanks(line, 0);
  if (i == line.size() || line[i] == u';') return true;
  if (HexDigit(line[i]) >= 0) return HexAt(line, i);
  state_ = State::kLineStart;
  Reject("the line after \"\\\" holds no hex data");
  return StartLine(line);
}

// Windows 3.1: "HKEY_CLASSES_ROOT\path = text" sets the key's default value;
// REGEDIT passes over any other line.
bool Reader::Win31Line(std::u16string_view line) {
  if (!StartsWith(line, 0, kClassesRoot)) return true;
  std::size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  KeyLine key;
  key.line = lines_.LineNumber();
  if (!SplitRoot(line.substr(0, end), key.root, key.rest)) {
    Warn("unknown root key " + Excerpt(line.substr(0, end), 0) + kSkipped);
    return true;
  }
  key_ = handler_.OnKey(key) ? Key::kWanted : Key::kIgnored;
  std::size_t i = SkipBlanks(line, end);
  if (i < line.size() && line[i] == u'=') ++i;
  if (i < line.size() && line[i] == u' ') ++i;
  value_ = ValueLine();
  value_.line = key.line;
  NameValue({});
  // The text stands as it is; the handler gets it as a quoted string holds it.
  rawString_.clear();
  AppendRegString(rawString_, line.substr(i));
  value_.kind = ValueKind::kString;
  value_.type = kRegSz;
  value_.rawString = rawString_;
  Deliver();
  return true;
}

bool Reader::KeyAt(std::u16string_view line, std::size_t i) {
  const std::size_t close = line.rfind(u']');
  if (i < line.size() && IsBlank(line[i])) {
    Warn("a blank after \"[\": no key name" + std::string(kSkipped) +
         " (values that follow go to the key before)");
    return true;
  }
  if (close == kNone || close < i) {
    Warn("key name without its closing \"]\"" + std::string(kSkipped) +
         " (values that follow go to the key before)");
    return true;
  }
  const std::u16string_view path = line.substr(i, close - i);
  if (!path.empty() && path[0] == u'-') return DeletionOf(path.substr(1));
  KeyLine key;
  key.line = lines_.LineNumber();
  if (!SplitRoot(path, key.root, key.rest)) {
    key_ = Key::kNone;
    Warn("unknown root key \"" + Utf16ToUtf8(path.substr(0, path.find(u'\\'))) +
         "\" (REGEDIT takes full names such as HKEY_LOCAL_MACHINE): the key and its values are "
         "skipped, as REGEDIT skips them");
    return true;
  }
  key_ = handler_.OnKey(key) ? Key::kWanted : Key::kIgnored;
  return true;
}

bool Reader::DeletionOf(std::u16string_view path) {
  if (kind_ == FileKind::kExport) return Fail("a key deletion, which no registry export holds");
  key_ = Key::kNone;  // REGEDIT closes the key: values up to the next key go nowhere
  if (path.empty() || (path[0] != u'H' && path[0] != u'h')) {
    Warn("a key deletion that names no root key: REGEDIT deletes nothing here");
    return true;
  }
  KeyLine key;
  key.line = lines_.LineNumber();
  key.deletion = true;
  if (!SplitRoot(path, key.root, key.rest))
    return Stop("unknown root key \"" + Utf16ToUtf8(path.substr(0, path.find(u'\\'))) +
                "\" in a key deletion");
  std::u16string_view rest = key.rest, component;
  if (!NextComponent(rest, component)) return Stop("deletion of a whole root key");
  handler_.OnKey(key);
  return true;
}

bool Reader::Stop(const std::string& why) {
  Warn("REGEDIT stops importing here: " + why + "; the rest of the file is not read");
  state_ = State::kDone;
  return true;
}

void Reader::NameValue(std::u16string_view rawName) {
  if (key_ != Key::kWanted) return;
  rawName_.assign(rawName);
  name_.clear();
  AppendUnescaped(rawName, name_);
}

bool Reader::ValueAt(std::u16string_view line, std::size_t i) {
  value_ = ValueLine();
  value_.line = lines_.LineNumber();
  std::u16string_view rawName;
  std::size_t j = i + 1;
  if (line[i] == u'"') {
    const std::size_t close = ClosingQuote(line, i + 1);
    if (close == kNone) {
      Warn("value name without its closing quote" + std::string(kSkipped));
      return true;
    }
    rawName = line.substr(i + 1, close - i - 1);
    j = close + 1;
  }
  NameValue(rawName);
  j = SkipBlanks(line, j);
  if (j == line.size() || line[j] != u'=') return Reject("no \"=\" after the value name");
  return DataAt(line, SkipBlanks(line, j + 1));
}

bool Reader::DataAt(std::u16string_view line, std::size_t i) {
  if (StartsWith(line, i, u"-")) {
    if (!NothingFrom(line, i + 1)) return Reject("text after \"=-\": " + Excerpt(line, i));
    if (kind_ == FileKind::kExport) return Fail("a value deletion, which no registry export holds");
    value_.deletion = true;
    Deliver();
    return true;
  }
  if (StartsWith(line, i, u"\"")) {
    const std::size_t close = ClosingQuote(line, i + 1);
    if (close == kNone) return Reject("string without its closing quote");
    if (!NothingFrom(line, close + 1))
      return Reject("text after the string's closing quote: " + Excerpt(line, close + 1));
    value_.kind = ValueKind::kString;
    value_.type = kRegSz;
    value_.rawString = line.substr(i + 1, close - i - 1);
    Deliver();
    return true;
  }
  if (StartsWith(line, i, u"dword:")) return DwordAt(line, i);
  std::size_t k = i;
  value_.type = kRegBinary;
  if (StartsWith(line, i, u"hex:")) {
    k += 4;
  } else if (StartsWith(line, i, u"hex(")) {
    std::uint64_t type = 0;
    for (k += 4; k < line.size() && HexDigit(line[k]) >= 0 && type <= 0xFFFFFFFF; ++k)
      type = type << 4 | static_cast<std::uint64_t>(HexDigit(line[k]));
    if (k == i + 4 || type > 0xFFFFFFFF || !StartsWith(line, k, u"):"))
      return Reject("bad value type: " + Excerpt(line, i));
    value_.type = static_cast<std::uint32_t>(type);
    k += 2;
  } else {
    return Reject("unknown value type: " + Excerpt(line, i));
  }
  value_.kind = ValueKind::kHex;
  bytes_.clear();
  return HexAt(line, k);
}

// "dword:" and up to eight hex digits.
bool Reader::DwordAt(std::u16string_view line, std::size_t i) {
  std::size_t k = SkipBlanks(line, i + 6);
  std::uint32_t number = 0;
  int digits = 0;
  for (; k < line.size() && HexDigit(line[k]) >= 0; ++k, ++digits)
    number = number << 4 | static_cast<std::uint32_t>(HexDigit(line[k]));
  if (digits == 0 || digits > 8 || !NothingFrom(line, k))
    return Reject("bad dword value: " + Excerpt(line, i));
  value_.kind = ValueKind::kDword;
  value_.type = kRegDword;
  bytes_.clear();
  for (int b = 0; b < 4; ++b) bytes_ += static_cast<char>(number >> (8 * b) & 0xFF);
  Deliver();
  return true;
}

// Bytes written as hex digits separated by commas; a backslash at the end of
// a line continues the list on the next one.
bool Reader::HexAt(std::u16string_view line, std::size_t i) {
  state_ = State::kLineStart;
  for (;;) {
    i = SkipBlanks(line, i);
    if (i == line.size() || line[i] == u';') break;
    if (line[i] == u'\\') {
      if (!NothingFrom(line, i + 1)) return Reject("text after \"\\\": " + Excerpt(line, i));
      state_ = State::kHexContinuation;
      return true;
    }
    const std::size_t start = i;
    unsigned byte = 0;
    for (; i < line.size() && HexDigit(line[i]) >= 0 && byte <= 0xFF; ++i)
      byte = byte << 4 | static_cast<unsigned>(HexDigit(line[i]));
    if (i == start || byte > 0xFF) return Reject("bad hex data: " + Excerpt(line, start));
    if (key_ == Key::kWanted) bytes_ += static_cast<char>(byte);
    i = SkipBlanks(line, i);
    if (i == line.size() || line[i] == u';') break;
    if (line[i] == u',') {
      ++i;
    } else if (line[i] != u'\\') {
      return Reject("bad hex data: " + Excerpt(line, start));
    }
  }
  Deliver();
  return true;
}

bool Reader::Reject(std::string why, const char* outcome) {
  Warn(why + ": " + outcome, value_.line);
  rejected_ = std::move(why);
  value_.rejected = rejected_;
  Deliver();
  return true;
}

void Reader::Deliver() {
  if (key_ != Key::kWanted) return;
  value_.rawName = rawName_;
  value_.name = name_;
  value_.bytes = bytes_;
  if (value_.rejected.empty() && value_.kind == ValueKind::kHex && lines_.Ansi() &&
      (value_.type == kRegExpandSz || value_.type == kRegMultiSz)) {
    widened_.clear();
    AppendUtf16OfCp1251(bytes_, widened_);
    widenedBytes_.clear();
    AppendUtf16Le(widened_, widenedBytes_);
    value_.bytes = widenedBytes_;
  }
  handler_.OnValue(value_);
}

RegValue ToRegValue(const ValueLine& value) {
  RegValue v;
  v.rawName = value.rawName;
  v.kind = value.kind;
  v.rawString = value.rawString;
  v.type = value.type;
  v.bytes = value.bytes;
  return v;
}

bool ReadRegFile(ByteSource& source, RegFileHandler& handler, FileKind kind, ReadProblem& problem,
                 ReadWarnings& warnings) {
  return Reader(source, handler, kind, warnings).Run(problem);
}

ScriptLineReader::ScriptLineReader(RegFileHandler& handler)
    : none_({}), reader_(std::make_unique<Reader>(none_, handler, FileKind::kScript, warnings_)) {}

ScriptLineReader::~ScriptLineReader() = default;

void ScriptLineReader::Read(std::u16string_view line) { reader_->Feed(line); }

void ScriptLineReader::End() { reader_->EndFeed(); }

}  // namespace kwetro::undo
