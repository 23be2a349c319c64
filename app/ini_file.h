// A settings file held in memory: read whole, changed, written back whole.
// Bytes are kept as they are (Windows-1251); names are matched without regard
// to letter case; whatever the program does not touch is written back as found.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kwetro {

class IniFile {
 public:
  // Accepts CR LF, LF and CR line ends. Blank lines are dropped (the writer
  // puts one after each section); comment lines and lines without "=" stay in
  // their section. Text before the first section is kept at the top.
  static IniFile Parse(std::string_view bytes);
  // As Parse, taking the bytes over rather than copying them.
  static IniFile Adopt(std::string bytes);

  // Parse keeping only the sections of that name, for a reader of one
  // section (the services preset) that need not take in the whole file.
  // Takes the bytes over rather than copying them.
  static IniFile ParseSection(std::string bytes, std::string_view section);

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

  // Find for many names of one section in one pass over the section, rather
  // than one pass per name; result[i] answers names[i].
  std::vector<const std::string*> FindEach(std::string_view section,
                                           const std::vector<std::string>& names) const;

 private:
  // Every text of the file lives in text_ and is referred to by position, so
  // that reading a file makes one copy of it rather than one string per line.
  // Rewritten lines are appended to text_; their old text stays unused.
  static constexpr std::size_t kNoSection = static_cast<std::size_t>(-1);
  struct Span {
    std::size_t begin = 0;
    std::size_t size = 0;
  };
  struct Line {
    Span text;          // the line as written
    Span name;          // trimmed entry name; empty for comments and other text
    std::string value;  // trimmed value
    bool isEntry = false;
  };
  struct Section {
    Span header;  // the header line as written
    Span name;    // the trimmed name inside it
    std::vector<Line> lines;
    // The sections of one name form a chain in file order; the first knows the last.
    std::size_t nextSameName = kNoSection;
    std::size_t lastSameName = kNoSection;
    bool erased = false;
  };

  static IniFile Parse(std::string bytes, const std::string_view* onlySection);
  std::string_view View(Span span) const {
    return std::string_view(text_).substr(span.begin, span.size);
  }
  // Appends the texts (none of them may lie in text_) and returns where they stand.
  Span Append(std::string_view a, std::string_view b, std::string_view c);
  Section& AddSection(Span header, Span name);
  std::size_t SlotOfSectionNamed(std::string_view name) const;
  std::size_t FirstSectionNamed(std::string_view name) const;

  std::string text_;
  std::vector<Span> preamble_;
  std::vector<Section> sections_;
  // The first section of each name, by name without regard to case (an
  // open-addressing table of section numbers plus one; see ini_file.cpp).
  std::vector<std::uint32_t> sectionSlots_;
  std::size_t sectionNames_ = 0;
};

// Lower-case form of a Windows-1251 name, for comparisons without regard to case.
std::string FoldCase(std::string_view text);

// Reads a whole number as the settings file writes it: signed decimal, or
// hexadecimal after "0x"/"0X" (up to eight digits, taken as a 32-bit pattern).
// Returns false for anything else, including values outside 32 bits.
bool ParseIniInteger(std::string_view text, int& value);

}  // namespace kwetro
