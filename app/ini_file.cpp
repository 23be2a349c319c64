#include "app/ini_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "options/text_encoding.h"

namespace kwetro {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

IniLine ReadIniLine(std::string_view raw) {
  const std::string_view line = Trim(raw);
  IniLine out;
  if (line.empty()) return out;
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
    out.kind = IniLine::kSection;
    out.name = Trim(line.substr(1, line.size() - 2));
    return out;
  }
  const std::size_t eq = line.find('=');
  if (line.front() == ';' || eq == std::string_view::npos) {
    out.kind = IniLine::kOther;
    return out;
  }
  out.kind = IniLine::kEntry;
  out.name = Trim(line.substr(0, eq));
  out.value = Trim(line.substr(eq + 1));
  return out;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a == b || FoldCase(a) == FoldCase(b));
}

bool ParseIniInteger(std::string_view text, int& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const std::string_view digits = text.substr(2);
    if (digits.size() > 8) return false;
    std::uint32_t v = 0;
    for (char c : digits) {
      const int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
      if (d < 0) return false;
      v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    value = static_cast<int>(static_cast<std::int32_t>(v));
    return true;
  }
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) ++i;
  if (i == text.size()) return false;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
    if (v > static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1) return false;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int>::max()) return false;
  value = static_cast<int>(v);
  return true;
}

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile ini;
  Section* current = nullptr;
  ForEachLine(bytes, [&](std::string_view raw) {
    const IniLine line = ReadIniLine(raw);
    switch (line.kind) {
      case IniLine::kBlank:
        return;
      case IniLine::kSection:
        current = &ini.AddSection(std::string(raw), line.name);
        return;
      default:
        if (!current)
          ini.preamble_.emplace_back(raw);
        else
          current->lines.push_back(
              {std::string(raw), std::string(line.name), line.kind == IniLine::kEntry});
    }
  });
  return ini;
}

IniFile::Section& IniFile::AddSection(std::string header, std::string_view name) {
  byName_[FoldCase(name)].push_back(sections_.size());
  sections_.push_back({std::move(header), {}});
  return sections_.back();
}

std::string IniFile::Serialize() const {
  std::string out;
  for (const std::string& line : preamble_) out.append(line).append("\r\n");
  if (!preamble_.empty()) out.append("\r\n");
  for (const Section& section : sections_) {
    out.append(section.header).append("\r\n");
    for (const Line& line : section.lines) out.append(line.text).append("\r\n");
    out.append("\r\n");
  }
  return out;
}

void IniFile::Write(std::string_view section, std::string_view name, std::string_view value) {
  const auto found = byName_.find(FoldCase(section));
  if (found != byName_.end()) {
    for (std::size_t index : found->second)
      for (Line& line : sections_[index].lines)
        if (line.isEntry && SameName(line.name, name)) {
          line.text = line.name + "=" + std::string(value);
          return;
        }
  }
  Section& target = found != byName_.end() ? sections_[found->second.front()]
                                           : AddSection("[" + std::string(section) + "]", section);
  target.lines.push_back({std::string(name) + "=" + std::string(value), std::string(name), true});
}

bool IniFile::HasSection(std::string_view section) const {
  return byName_.count(FoldCase(section)) != 0;
}

void IniFile::EraseSection(std::string_view section) {
  const std::string folded = FoldCase(section);
  const auto found = byName_.find(folded);
  if (found == byName_.end()) return;
  // The sections after them move up: their places are counted again.
  for (auto it = found->second.rbegin(); it != found->second.rend(); ++it)
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(*it));
  byName_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i)
    byName_[FoldCase(ReadIniLine(sections_[i].header).name)].push_back(i);
}

}  // namespace kwetro
