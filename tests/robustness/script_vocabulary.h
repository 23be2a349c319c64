// What a registry script may hold, for the robustness tests and the fuzz
// targets (no GoogleTest here, so that a fuzz target can use it too).
//
// Two independent checks of a script's bytes:
//  - CheckLineKinds: every line is one of the line kinds REGEDIT reads (header,
//    separator, comment, key, key deletion, value, hex continuation, empty),
//    every line ends with CR LF, no hex list is left open at the end.
//  - ScriptVocabulary: every line is one the program itself defines: a
//    catalogue line, a comment made of a caption the caption rules give, a
//    hint or label of the window description, a services line made of a
//    service item, or a spinner timeout within the spinner's range. Whatever
//    a settings file says, a script line outside this set would be text the
//    file smuggled into the registry.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <unordered_set>
#include <variant>
#include <vector>

#include "catalogue/catalogue.h"
#include "options/blocks.h"
#include "options/form.h"
#include "options/option_table.h"
#include "options/text_encoding.h"

namespace kwetro::robustness {

namespace detail {

inline bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// A quoted name or string: '"', text in which a quote is written \", '"'.
// Returns the position after the closing quote, or npos.
inline std::size_t QuotedEnd(std::string_view line, std::size_t at) {
  if (at >= line.size() || line[at] != '"') return std::string_view::npos;
  for (std::size_t i = at + 1; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
      ++i;
      continue;
    }
    if (line[i] == '"') return i + 1;
  }
  return std::string_view::npos;
}

// "xx,xx,...,xx" with an optional ",\" that continues the list on the next
// line. An empty list is allowed only where the data may be empty.
inline bool ByteList(std::string_view text, bool mayBeEmpty, bool& continues) {
  continues = text.size() >= 2 && text.substr(text.size() - 2) == ",\\";
  if (continues) text.remove_suffix(2);
  if (text.empty()) return mayBeEmpty && !continues;
  for (std::size_t i = 0;; i += 3) {
    if (i + 2 > text.size() || !IsLowerHex(text[i]) || !IsLowerHex(text[i + 1])) return false;
    if (i + 2 == text.size()) return true;
    if (text[i + 2] != ',') return false;
  }
}

inline bool KeyLine(std::string_view line) {
  if (line.size() < 3 || line.front() != '[' || line.back() != ']') return false;
  std::string_view key = line.substr(1, line.size() - 2);
  if (!key.empty() && key.front() == '-') key.remove_prefix(1);
  static const char* const kRoots[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER",
                                       "HKEY_CLASSES_ROOT", "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
  for (const char* root : kRoots) {
    const std::string_view r(root);
    if (key.substr(0, r.size()) != r) continue;
    const std::string_view path = key.substr(r.size());
    if (path.empty()) return true;
    // "\" then segments, none empty, none holding a bracket.
    if (path.front() != '\\' || path.back() == '\\') return false;
    return path.find("\\\\") == std::string_view::npos &&
           path.find_first_of("[]") == std::string_view::npos;
  }
  return false;
}

// A value line; continues tells whether a hex list goes on in the next line.
inline bool ValueLine(std::string_view line, bool& continues) {
  continues = false;
  std::size_t at = 0;
  if (!line.empty() && line.front() == '@') {
    at = 1;
  } else {
    at = QuotedEnd(line, 0);
    if (at == std::string_view::npos) return false;
  }
  if (at >= line.size() || line[at] != '=') return false;
  const std::string_view data = line.substr(at + 1);
  if (data == "-") return true;
  if (data.substr(0, 6) == "dword:") {
    if (data.size() != 14) return false;
    for (char c : data.substr(6))
      if (!IsLowerHex(c)) return false;
    return true;
  }
  if (!data.empty() && data.front() == '"') return QuotedEnd(data, 0) == data.size();
  if (data.substr(0, 4) == "hex:") return ByteList(data.substr(4), true, continues);
  if (data.substr(0, 4) == "hex(") {
    const std::size_t close = data.find("):");
    if (close == std::string_view::npos || close == 4) return false;
    for (char c : data.substr(4, close - 4))
      if (!IsLowerHex(c)) return false;
    return ByteList(data.substr(close + 2), true, continues);
  }
  return false;
}

}  // namespace detail

// The script's lines without their CR LF; a last line without CR LF is
// returned as it is and reported by CheckLineKinds.
inline std::vector<std::string_view> ScriptLines(std::string_view bytes, bool& lastLineEnded) {
  std::vector<std::string_view> lines;
  lastLineEnded = true;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.push_back(bytes.substr(pos));
      lastLineEnded = false;
      break;
    }
    lines.push_back(bytes.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// Empty when every line of the script is one of the line kinds; otherwise
// what is wrong and where (1-based line number).
inline std::string CheckLineKinds(std::string_view bytes) {
  bool lastLineEnded = true;
  const std::vector<std::string_view> lines = ScriptLines(bytes, lastLineEnded);
  auto bad = [&](std::size_t i, const char* what) {
    return "line " + std::to_string(i + 1) + ": " + what + ": " + std::string(lines[i]);
  };
  if (lines.empty() || lines[0] != "Windows Registry Editor Version 5.00")
    return "the script does not start with the header line";
  if (!lastLineEnded) return bad(lines.size() - 1, "no CR LF after the last line");
  bool inHexList = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.find_first_of("\r\n") != std::string_view::npos) return bad(i, "stray line end");
    if (inHexList) {
      if (!detail::ByteList(line, false, inHexList)) return bad(i, "broken hex continuation");
      continue;
    }
    if (line.empty() || line.front() == ';') continue;  // empty, separator, title, comment
    if (line.front() == '[') {
      if (!detail::KeyLine(line)) return bad(i, "not a key line");
      continue;
    }
    if (!detail::ValueLine(line, inHexList)) return bad(i, "not a value line");
  }
  if (inHexList) return "the last hex list is not closed";
  return {};
}

// Every line the program can write, given the window description it started
// from (its captions, hints, service items and spinner ranges).
class ScriptVocabulary {
 public:
  explicit ScriptVocabulary(const Form& builtIn) {
    for (const char* fixed : {"", "Windows Registry Editor Version 5.00"}) lines_.insert(fixed);
    lines_.insert(std::string(SeparatorLine()));
    for (const char* title :
         {"СИСТЕМА", "ПРОВОДНИК", "МЕДИАПЛЕЕР", "НАСТРОЙКИ IE", "СЕРВИСЫ И СЛУЖБЫ",
          "00000002 - Авто; 00000003 - Вручную; 00000004 - Отключить;"})
      AddComment(Utf8ToCp1251(title));

    for (const auto* table :
         {&HklmSystemBlocks(), &HklmExplorerBlocks(), &HkcuSystemBlocks(), &HkcuExplorerBlocks(),
          &VisualEffectBlocks(), &MediaPlayerBlocks(), &InternetExplorerBlocks()})
      for (const Block& block : *table) AddBlock(block);

    // Comment lines: every caption any state of any option can carry, and the
    // texts of the description itself.
    for (const OptionDef& def : OptionDefs())
      for (const std::string& caption : def.captions) AddComment(caption);
    for (const OptionControl& option : builtIn.options) AddComment(option.caption);
    for (const ComboControl& combo : builtIn.combos) AddComment(combo.hint);
    AddComment(builtIn.layoutOrderLabel);

    for (const std::string& item : builtIn.services.items) {
      const std::size_t star = item.rfind('*');
      if (star == std::string::npos) continue;
      serviceItems_.push_back(item);
      lines_.insert("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" +
                    item.substr(star + 1) + "]");
    }
    for (const char* start :
         {"\"Start\"=dword:00000002", "\"Start\"=dword:00000003", "\"Start\"=dword:00000004"})
      lines_.insert(start);

    for (const auto& [name, spinner] : spinnerValueNames_) {
      const SpinnerControl& s = builtIn.spinners[static_cast<std::size_t>(spinner)];
      spinnerRanges_[name] = {s.min, s.max};
    }
  }

  bool Allows(std::string_view line) const {
    if (lines_.count(line)) return true;
    return IsServiceComment(line) || IsSpinnerLine(line);
  }

  // Empty when every line of the script is allowed; otherwise the first
  // line that is not, with its number.
  std::string CheckScript(std::string_view bytes) const {
    bool ended = true;
    const std::vector<std::string_view> lines = ScriptLines(bytes, ended);
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (!Allows(lines[i]))
        return "line " + std::to_string(i + 1) +
               " is defined by nothing: " + Cp1251ToUtf8(std::string(lines[i]));
    return {};
  }

 private:
  void AddComment(const std::string& text) {
    lines_.insert("; " + text);
    lines_.insert(";" + text);  // rows whose comment has no blank after ";"
  }
  void AddLines(const Lines& lines) {
    for (std::string_view line : lines) lines_.insert(std::string(line));
  }
  void AddBlock(const Block& block) {
    if (const auto* option = std::get_if<OptionBlock>(&block)) {
      for (const StateLines& state : option->states)
        for (const KeySection& section : state.sections) {
          AddLines(section.keys);
          AddLines(section.values);
        }
      return;
    }
    const GroupBlock& group = std::get<GroupBlock>(block);
    lines_.insert(std::string(group.key));
    for (const GroupItem& item : group.items) {
      for (const Lines& values : item.values) AddLines(values);
      for (const Lines& values : item.byIndex) AddLines(values);
      if (item.kind == GroupItem::kComment) lines_.insert(std::string(item.text));
      if (item.kind == GroupItem::kSpinnerMillis)
        spinnerValueNames_[std::string(item.text)] = item.control;
    }
  }

  // "; " and the display part of a service item: some beginning of the item.
  bool IsServiceComment(std::string_view line) const {
    if (line.substr(0, 2) != "; ") return false;
    const std::string_view shown = line.substr(2);
    for (const std::string& item : serviceItems_)
      if (std::string_view(item).substr(0, shown.size()) == shown) return true;
    return false;
  }

  // "Name"="<seconds * 1000>" with the seconds inside the spinner's range.
  bool IsSpinnerLine(std::string_view line) const {
    for (const auto& [name, range] : spinnerRanges_) {
      const std::string prefix = "\"" + name + "\"=\"";
      if (line.substr(0, prefix.size()) != prefix || line.size() < prefix.size() + 2 ||
          line.back() != '"')
        continue;
      const std::string_view digits = line.substr(prefix.size(), line.size() - prefix.size() - 1);
      if (digits.size() > 15 || (digits.size() > 1 && digits[0] == '0')) return false;
      std::int64_t millis = 0;
      bool negative = !digits.empty() && digits[0] == '-';
      for (char c : digits.substr(negative ? 1 : 0)) {
        if (c < '0' || c > '9') return false;
        millis = millis * 10 + (c - '0');
      }
      if (negative) millis = -millis;
      if (millis % 1000 != 0) return false;
      const std::int64_t seconds = millis / 1000;
      return seconds >= range.first && seconds <= range.second;
    }
    return false;
  }

  // The lines, looked up as views (no copy per line checked); the texts are
  // owned by texts_, whose elements never move.
  struct LineSet : std::unordered_set<std::string_view> {
    std::deque<std::string> texts_;
    void insert(std::string text) {
      if (count(text)) return;
      texts_.push_back(std::move(text));
      std::unordered_set<std::string_view>::insert(texts_.back());
    }
  };
  LineSet lines_;
  std::vector<std::string> serviceItems_;
  std::map<std::string, int> spinnerValueNames_;
  std::map<std::string, std::pair<int, int>> spinnerRanges_;
};

}  // namespace kwetro::robustness
