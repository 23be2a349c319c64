#include "app/ini_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace kwetro {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Lower case of the Windows-1251 letters: Latin, Russian and the other
// Cyrillic letters of the code page.
constexpr unsigned char FoldOne(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x80: return 0x90;
    case 0x81: return 0x83;
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8D: return 0x9D;
    case 0x8E: return 0x9E;
    case 0x8F: return 0x9F;
    case 0xA1: return 0xA2;
    case 0xA3: return 0xBC;
    case 0xA5: return 0xB4;
    case 0xA8: return 0xB8;
    case 0xAA: return 0xBA;
    case 0xAF: return 0xBF;
    case 0xB2: return 0xB3;
    case 0xBD: return 0xBE;
    default: return c;
  }
}

// Every name comparison folds each byte: a table lookup rather than the switch.
constexpr std::array<unsigned char, 256> kFolded = [] {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = FoldOne(static_cast<unsigned char>(c));
  return table;
}();

unsigned char Fold(char c) { return kFolded[static_cast<unsigned char>(c)]; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // names are mostly written as they are looked for
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

// FNV-1a over the length and the last eight folded bytes: names equal without
// regard to case hash alike. The ends of names tell them apart ("..._1_1",
// service items ending in their key names); a name that shares its end with
// another only costs one more comparison.
std::size_t FoldedHash(std::string_view text) {
  std::uint32_t h = (2166136261u ^ static_cast<std::uint32_t>(text.size())) * 16777619u;
  for (char c : text.substr(text.size() > 8 ? text.size() - 8 : 0)) h = (h ^ Fold(c)) * 16777619u;
  return h;
}

// Name lookups go through open-addressing tables: a power-of-two array of
// numbers plus one (0 marks a free slot), each number standing for a name
// held elsewhere. Returns the slot of the number whose name matches, or the
// free slot where it would go. The table is never more than half full.
template <typename Matches>
std::size_t Probe(const std::vector<std::uint32_t>& slots, std::string_view name, Matches matches) {
  const std::size_t mask = slots.size() - 1;
  std::size_t i = FoldedHash(name) & mask;
  while (slots[i] != 0 && !matches(slots[i] - 1)) i = (i + 1) & mask;
  return i;
}

// An empty table with room for count names.
std::vector<std::uint32_t> SlotsFor(std::size_t count) {
  std::size_t size = 16;
  while (size < 2 * count) size *= 2;
  return std::vector<std::uint32_t>(size, 0);
}

// Where the next line at or after pos (a line start) begins whose first
// character other than blanks is "[", or text.size(). Only such a line can be
// a section header, so a part of the file that is not kept is passed over
// from one "[" to the next rather than line by line.
std::size_t NextBracketLine(std::string_view text, std::size_t pos) {
  for (std::size_t at = text.find('[', pos); at != std::string_view::npos;
       at = text.find('[', at + 1)) {
    std::size_t start = at;
    while (start > pos && IsBlank(text[start - 1])) --start;
    if (start == pos || text[start - 1] == '\r' || text[start - 1] == '\n') return start;
  }
  return text.size();
}

}  // namespace

std::string FoldCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(Fold(c));
  return out;
}

IniFile::Span IniFile::Append(std::string_view a, std::string_view b, std::string_view c) {
  const Span span{text_.size(), a.size() + b.size() + c.size()};
  text_.append(a).append(b).append(c);
  return span;
}

IniFile::Section& IniFile::AddSection(Span header, Span name) {
  const std::size_t at = sections_.size();
  if (2 * (sectionNames_ + 1) > sectionSlots_.size()) {
    // Grown to twice the size, the first section of each name moved over.
    std::vector<std::uint32_t> grown = SlotsFor(sectionNames_ + 1);
    for (std::uint32_t slot : sectionSlots_) {
      if (slot == 0) continue;
      grown[Probe(grown, View(sections_[slot - 1].name), [](std::size_t) { return false; })] = slot;
    }
    sectionSlots_.swap(grown);
  }
  const std::size_t slot = SlotOfSectionNamed(View(name));
  std::uint32_t& first = sectionSlots_[slot];
  if (first == 0) ++sectionNames_;
  if (first != 0 && !sections_[first - 1].erased) {
    Section& head = sections_[first - 1];
    sections_[head.lastSameName].nextSameName = at;
    head.lastSameName = at;
  } else {
    // A new name, or one whose sections were all erased: a new chain.
    first = static_cast<std::uint32_t>(at + 1);
  }
  Section& section = sections_.emplace_back();
  section.header = header;
  section.name = name;
  section.lastSameName = at;
  return section;
}

std::size_t IniFile::SlotOfSectionNamed(std::string_view name) const {
  return Probe(sectionSlots_, name,
               [&](std::size_t i) { return SameName(View(sections_[i].name), name); });
}

std::size_t IniFile::FirstSectionNamed(std::string_view name) const {
  if (sectionSlots_.empty()) return kNoSection;
  const std::uint32_t first = sectionSlots_[SlotOfSectionNamed(name)];
  // Erasing erases every section of the name, the first included.
  return first == 0 || sections_[first - 1].erased ? kNoSection : first - 1;
}

IniFile IniFile::Parse(std::string_view bytes) { return Parse(std::string(bytes), nullptr); }

IniFile IniFile::Adopt(std::string bytes) { return Parse(std::move(bytes), nullptr); }

IniFile IniFile::ParseSection(std::string bytes, std::string_view section) {
  return Parse(std::move(bytes), &section);
}

IniFile IniFile::Parse(std::string bytes, const std::string_view* onlySection) {
  IniFile ini;
  ini.text_ = std::move(bytes);
  const std::string_view text = ini.text_;

  // Where the next CR and the next LF stand; each is searched again only once
  // passed, so that a file with one kind of line end is searched once for the
  // other kind, not once per line.
  auto next = [&text](char c, std::size_t from) {
    const std::size_t at = text.find(c, from);
    return at == std::string_view::npos ? text.size() : at;
  };
  std::size_t nextCr = next('\r', 0), nextLf = next('\n', 0);
  // A section's lines are gathered first and then moved into it, so that its
  // list is allocated once, at its final size.
  Section* current = nullptr;
  bool skipping = onlySection != nullptr;  // in a part of the file that is not kept
  std::vector<Line> gathered;
  auto close = [&current, &gathered] {
    if (!current || gathered.empty()) return;
    current->lines.reserve(gathered.size());
    for (Line& line : gathered) current->lines.push_back(std::move(line));
    gathered.clear();
  };
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (skipping) {
      pos = NextBracketLine(text, pos);
      if (pos == text.size()) break;
    }
    if (nextCr < pos) nextCr = next('\r', pos);
    if (nextLf < pos) nextLf = next('\n', pos);
    const std::size_t end = std::min(nextCr, nextLf);
    const Span raw{pos, end - pos};
    pos = end;
    if (pos < text.size()) {
      const bool crlf = text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n';
      pos += crlf ? 2 : 1;
    }

    const std::string_view line = Trim(text.substr(raw.begin, raw.size));
    if (line.empty()) continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string_view name = Trim(line.substr(1, line.size() - 2));
      close();
      skipping = onlySection && !SameName(name, *onlySection);
      if (!skipping)
        current = &ini.AddSection(
            raw, {static_cast<std::size_t>(name.data() - text.data()), name.size()});
      continue;
    }
    if (skipping) continue;
    if (!current) {
      ini.preamble_.push_back(raw);
      continue;
    }
    const std::size_t eq = line.find('=');
    if (line.front() == ';' || eq == std::string_view::npos) {
      gathered.push_back(Line{raw, {}, {}, false});
      continue;
    }
    const std::string_view name = Trim(line.substr(0, eq));
    const Span nameSpan{static_cast<std::size_t>(name.data() - text.data()), name.size()};
    gathered.push_back(Line{raw, nameSpan, std::string(Trim(line.substr(eq + 1))), true});
  }
  close();
  return ini;
}

std::string IniFile::Serialize() const {
  std::size_t size = 0;
  for (const Span& line : preamble_) size += line.size + 2;
  for (const Section& section : sections_) {
    size += section.header.size + 4;
    for (const Line& line : section.lines) size += line.text.size + 2;
  }
  std::string out;
  out.reserve(size + 2);
  for (const Span& line : preamble_) out.append(View(line)).append("\r\n");
  if (!preamble_.empty()) out.append("\r\n");
  for (const Section& section : sections_) {
    if (section.erased) continue;
    out.append(View(section.header)).append("\r\n");
    for (const Line& line : section.lines) out.append(View(line.text)).append("\r\n");
    out.append("\r\n");
  }
  return out;
}

const std::string* IniFile::Find(std::string_view section, std::string_view name) const {
  for (std::size_t i = FirstSectionNamed(section); i != kNoSection; i = sections_[i].nextSameName)
    for (const Line& line : sections_[i].lines)
      if (line.isEntry && SameName(View(line.name), name)) return &line.value;
  return nullptr;
}

std::vector<const std::string*> IniFile::FindEach(std::string_view section,
                                                  const std::vector<std::string>& names) const {
  // The section's entries in a table of their own, the first of each name.
  std::vector<const Line*> entries;
  for (std::size_t i = FirstSectionNamed(section); i != kNoSection; i = sections_[i].nextSameName)
    for (const Line& line : sections_[i].lines)
      if (line.isEntry) entries.push_back(&line);
  std::vector<std::uint32_t> slots = SlotsFor(entries.size());
  for (std::size_t e = 0; e < entries.size(); ++e) {
    const std::string_view name = View(entries[e]->name);
    std::uint32_t& slot = slots[Probe(slots, name, [&](std::size_t other) {
      return SameName(View(entries[other]->name), name);
    })];
    if (slot == 0) slot = static_cast<std::uint32_t>(e + 1);
  }
  std::vector<const std::string*> values(names.size(), nullptr);
  for (std::size_t n = 0; n < names.size(); ++n) {
    const std::uint32_t slot = slots[Probe(slots, names[n], [&](std::size_t e) {
      return SameName(View(entries[e]->name), names[n]);
    })];
    if (slot != 0) values[n] = &entries[slot - 1]->value;
  }
  return values;
}

std::string IniFile::Read(std::string_view section, std::string_view name,
                          std::string_view fallback) const {
  const std::string* value = Find(section, name);
  return value ? *value : std::string(fallback);
}

void IniFile::Write(std::string_view section, std::string_view name, std::string_view value) {
  const std::size_t first = FirstSectionNamed(section);
  for (std::size_t i = first; i != kNoSection; i = sections_[i].nextSameName) {
    for (Line& line : sections_[i].lines) {
      if (line.isEntry && SameName(View(line.name), name)) {
        // The name keeps its spelling in the file; copied, as text_ may move.
        const std::string lineName(View(line.name));
        line.value = value;
        line.text = Append(lineName, "=", value);
        line.name = {line.text.begin, lineName.size()};
        return;
      }
    }
  }
  Section* target = first == kNoSection ? nullptr : &sections_[first];
  if (!target) {
    const Span header = Append("[", section, "]");
    target = &AddSection(header, {header.begin + 1, section.size()});
  }
  Line& line = target->lines.emplace_back();
  line.isEntry = true;
  line.text = Append(name, "=", value);
  line.name = {line.text.begin, name.size()};
  line.value = value;
}

void IniFile::EraseSection(std::string_view section) {
  for (std::size_t i = FirstSectionNamed(section); i != kNoSection; i = sections_[i].nextSameName)
    sections_[i].erased = true;
}

bool ParseIniInteger(std::string_view text, int& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::string_view digits = text.substr(2);
    if (digits.size() > 8) return false;
    std::uint32_t v = 0;
    for (char c : digits) {
      int d;
      if (c >= '0' && c <= '9')
        d = c - '0';
      else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
      else
        return false;
      v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    value = static_cast<int>(static_cast<std::int32_t>(v));
    return true;
  }
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1) return false;
  }
  if (negative) v = -v;
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace kwetro
