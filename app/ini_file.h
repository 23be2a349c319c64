// INI text as the settings file uses it: Windows-1251 bytes, sections and
// "name=value" entries, names matched without regard to letter case. Reading
// is one pass over the lines; IniFile changes a text and writes it back with
// whatever the program does not touch kept as it was.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kwetro {

// One line, trimmed of blanks and tabs. Blank lines name nothing; a line
// "[name]" starts a section; within a section, "name=value" is an entry,
// unless the line starts with ";". Anything else is kept but names nothing.
struct IniLine {
  enum Kind { kBlank, kSection, kEntry, kOther };
  Kind kind = kBlank;
  std::string_view name;
  std::string_view value;
};
IniLine ReadIniLine(std::string_view raw);

// Calls each(raw line) for every line of the text; lines end with CR LF, LF
// or CR.
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
  // Where the next CR and the next LF stand, each searched again only once
  // passed: a file with one kind of line end is searched once for the other.
  auto next = [text](char c, std::size_t from) {
    return std::min(text.find(c, from), text.size());
  };
  std::size_t pos = 0, cr = next('\r', 0), lf = next('\n', 0);
  while (pos < text.size()) {
    if (cr < pos) cr = next('\r', pos);
    if (lf < pos) lf = next('\n', pos);
    const std::size_t end = std::min(cr, lf);
    each(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size()) pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
  }
}

// Names equal without regard to letter case (FoldCase).
bool SameName(std::string_view a, std::string_view b);

// A whole number as the settings file holds it: signed decimal, or
// hexadecimal after "0x"/"0X" (up to eight digits, taken as a 32-bit
// pattern). False for anything else, including values outside 32 bits.
bool ParseIniInteger(std::string_view text, int& value);

class IniFile {
 public:
  static IniFile Parse(std::string_view bytes);

  // The file's bytes: the lines before the first section, then each section
  // followed by one empty line; CR LF ends; blank lines of the original are
  // not kept.
  std::string Serialize() const;

  // Replaces the first entry of that name in a section of that name (file
  // order), keeping the name as the file spells it; else appends the entry to
  // the first such section; else appends a new section at the end.
  void Write(std::string_view section, std::string_view name, std::string_view value);
  // Removes every section of that name.
  void EraseSection(std::string_view section);
  bool HasSection(std::string_view section) const;

 private:
  struct Line {
    std::string text;  // as written
    std::string name;  // entry name as the file spells it; empty for other lines
    bool isEntry = false;
  };
  struct Section {
    std::string header;  // as written
    std::vector<Line> lines;
  };
  Section& AddSection(std::string header, std::string_view name);

  std::vector<std::string> preamble_;
  std::vector<Section> sections_;
  // The sections of each folded name, in file order.
  std::unordered_map<std::string, std::vector<std::size_t>> byName_;
};

}  // namespace kwetro
