#include "app/ini_file.h"

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
unsigned char Fold(unsigned char c) {
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

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::string FoldCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
  return out;
}

IniFile::Section& IniFile::AddSection(std::string header, std::string name) {
  index_[FoldCase(name)].push_back(sections_.size());
  sections_.push_back(Section{std::move(header), std::move(name), {}, false});
  return sections_.back();
}

std::vector<std::size_t>* IniFile::SectionsNamed(std::string_view name) {
  const auto it = index_.find(FoldCase(name));
  return it == index_.end() ? nullptr : &it->second;
}

const std::vector<std::size_t>* IniFile::SectionsNamed(std::string_view name) const {
  const auto it = index_.find(FoldCase(name));
  return it == index_.end() ? nullptr : &it->second;
}

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile ini;
  Section* current = nullptr;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view raw = bytes.substr(pos, end - pos);
    pos = end;
    if (pos < bytes.size()) {
      const bool crlf = bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n';
      pos += crlf ? 2 : 1;
    }

    const std::string_view line = Trim(raw);
    if (line.empty()) continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = &ini.AddSection(std::string(raw),
                                std::string(Trim(line.substr(1, line.size() - 2))));
      continue;
    }
    if (!current) {
      ini.preamble_.emplace_back(raw);
      continue;
    }
    Line entry;
    entry.text = std::string(raw);
    const std::size_t eq = line.find('=');
    if (line.front() != ';' && eq != std::string_view::npos) {
      entry.isEntry = true;
      entry.name = std::string(Trim(line.substr(0, eq)));
      entry.value = std::string(Trim(line.substr(eq + 1)));
    }
    current->lines.push_back(std::move(entry));
  }
  return ini;
}

std::string IniFile::Serialize() const {
  std::string out;
  for (const std::string& line : preamble_) out.append(line).append("\r\n");
  if (!preamble_.empty()) out.append("\r\n");
  for (const Section& section : sections_) {
    if (section.erased) continue;
    out.append(section.header).append("\r\n");
    for (const Line& line : section.lines) out.append(line.text).append("\r\n");
    out.append("\r\n");
  }
  return out;
}

const std::string* IniFile::Find(std::string_view section, std::string_view name) const {
  const auto* indices = SectionsNamed(section);
  if (!indices) return nullptr;
  for (std::size_t i : *indices) {
    if (sections_[i].erased) continue;
    for (const Line& line : sections_[i].lines)
      if (line.isEntry && SameName(line.name, name)) return &line.value;
  }
  return nullptr;
}

std::string IniFile::Read(std::string_view section, std::string_view name,
                          std::string_view fallback) const {
  const std::string* value = Find(section, name);
  return value ? *value : std::string(fallback);
}

void IniFile::Write(std::string_view section, std::string_view name, std::string_view value) {
  Section* first = nullptr;
  if (auto* indices = SectionsNamed(section)) {
    for (std::size_t i : *indices) {
      Section& s = sections_[i];
      if (s.erased) continue;
      if (!first) first = &s;
      for (Line& line : s.lines) {
        if (line.isEntry && SameName(line.name, name)) {
          line.value = std::string(value);
          line.text = line.name + "=" + line.value;
          return;
        }
      }
    }
  }
  if (!first) first = &AddSection("[" + std::string(section) + "]", std::string(section));
  Line line;
  line.isEntry = true;
  line.name = std::string(name);
  line.value = std::string(value);
  line.text = line.name + "=" + line.value;
  first->lines.push_back(std::move(line));
}

void IniFile::EraseSection(std::string_view section) {
  auto* indices = SectionsNamed(section);
  if (!indices) return;
  for (std::size_t i : *indices) sections_[i].erased = true;
  indices->clear();
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
