// A settings file held in memory: read whole, changed, written back whole.
// Bytes are kept as they are (Windows-1251); names are matched without regard
// to letter case; whatever the program does not touch is written back as found.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kwetro {

class IniFile {
 public:
  // Accepts CR LF, LF and CR line ends. Blank lines are dropped (the writer
  // puts one after each section); comment lines and lines without "=" stay in
  // their section. Text before the first section is kept at the top.
  static IniFile Parse(std::string_view bytes);

  // The file's bytes: each section followed by one empty line, CR LF ends.
  std::string Serialize() const;

  // The trimmed value of the first entry of that name in a section of that
  // name (sections that appear twice are searched in file order).
  const std::string* Find(std::string_view section, std::string_view name) const;
  std::string Read(std::string_view section, std::string_view name,
                   std::string_view fallback) const;

  // Replaces the first such entry in place, or appends it to the first such
  // section, or appends a new section at the end of the file.
  void Write(std::string_view section, std::string_view name, std::string_view value);

  // Removes every section of that name.
  void EraseSection(std::string_view section);

 private:
  struct Line {
    std::string text;   // the line as written
    std::string name;   // trimmed entry name; empty for comments and other text
    std::string value;  // trimmed value
    bool isEntry = false;
  };
  struct Section {
    std::string header;  // the header line as written
    std::string name;    // trimmed section name
    std::vector<Line> lines;
    bool erased = false;
  };

  Section& AddSection(std::string header, std::string name);
  std::vector<std::size_t>* SectionsNamed(std::string_view name);
  const std::vector<std::size_t>* SectionsNamed(std::string_view name) const;

  std::vector<std::string> preamble_;
  std::vector<Section> sections_;
  // Folded section name to the indices of the sections of that name.
  std::unordered_map<std::string, std::vector<std::size_t>> index_;
};

// Lower-case form of a Windows-1251 name, for comparisons without regard to case.
std::string FoldCase(std::string_view text);

// Reads a whole number as the settings file writes it: signed decimal, or
// hexadecimal after "0x"/"0X" (up to eight digits, taken as a 32-bit pattern).
// Returns false for anything else, including values outside 32 bits.
bool ParseIniInteger(std::string_view text, int& value);

}  // namespace kwetro
