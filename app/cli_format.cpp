#include "app/cli_format.h"

#include <iterator>

#include "options/number_text.h"

namespace kwetro {
namespace {

constexpr struct {
  const char* name;
  Format format;
} kFormats[] = {{"tsv", Format::kTsv}, {"json", Format::kJson}, {"markdown", Format::kMarkdown}};

std::string RenderTsv(const Listing& t) {
  std::string out;
  for (std::size_t c = 0; c < t.columns.size(); ++c)
    if (!t.columns[c].list) out.append(c ? "\t" : "").append(t.columns[c].name);
  out += '\n';
  for (const auto& row : t.rows) {
    for (std::size_t c = 0; c < t.columns.size(); ++c)
      if (!t.columns[c].list) out.append(c ? "\t" : "").append(Tsv(row[c].text));
    out += '\n';
  }
  return out;
}

std::string RenderJson(const Listing& t) {
  std::string out = "[\n";
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    out += "  {";
    for (std::size_t c = 0; c < t.columns.size(); ++c) {
      const Field& field = t.rows[r][c];
      out.append(c ? ", \"" : "\"").append(t.columns[c].name).append("\": ");
      if (!t.columns[c].list) {
        out += Json(field.text);
        continue;
      }
      out += '[';
      for (std::size_t i = 0; i < field.list.size(); ++i)
        out.append(i ? ", " : "").append(Json(field.list[i]));
      out += ']';
    }
    out += r + 1 < t.rows.size() ? "},\n" : "}\n";
  }
  return out + "]\n";
}

// The header of a Markdown table: every column but lists and the section's.
std::string MarkdownHeader(const Listing& t) {
  std::string names = "|", rule = "|";
  for (std::size_t c = 0; c < t.columns.size(); ++c) {
    if (t.columns[c].list || static_cast<int>(c) == t.markdownSection) continue;
    names.append(" ").append(t.columns[c].name).append(" |");
    rule += "---|";
  }
  return names + "\n" + rule + "\n";
}

std::string RenderMarkdown(const Listing& t) {
  std::string out = t.markdownTitle;
  if (t.markdownSection < 0) out += MarkdownHeader(t);
  const std::string* section = nullptr;
  for (const auto& row : t.rows) {
    if (t.markdownSection >= 0 && (!section || row[t.markdownSection].text != *section)) {
      section = &row[t.markdownSection].text;
      out += "\n## " + *section + "\n\n" + MarkdownHeader(t);
    }
    out += "| `" + row[0].text + "` |";
    for (std::size_t c = 1; c < t.columns.size(); ++c)
      if (!t.columns[c].list && static_cast<int>(c) != t.markdownSection)
        out += " " + Markdown(row[c].text) + " |";
    out += '\n';
  }
  return out;
}

}  // namespace

bool ParseFormat(const std::string& name, Format& format, std::string& error) {
  std::string names;
  for (std::size_t i = 0; i < std::size(kFormats); ++i) {
    if (name == kFormats[i].name) {
      format = kFormats[i].format;
      return true;
    }
    names += (i == 0                        ? ""
              : i + 1 < std::size(kFormats) ? ", "
                                            : " or ") +
             std::string(kFormats[i].name);
  }
  error = "unknown format '" + name + "' (" + names + ")";
  return false;
}

std::string Render(const Listing& listing, Format format) {
  switch (format) {
    case Format::kJson:
      return RenderJson(listing);
    case Format::kMarkdown:
      return RenderMarkdown(listing);
    case Format::kTsv:
      break;
  }
  return RenderTsv(listing);
}

std::string Tsv(const std::string& field) {
  std::string out;
  for (char c : field) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (b < 0x20) {
      out += "\\u00" + HexDigits(b, 2);
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Markdown(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '|')
      out += "\\|";
    else if (c == '\n')
      out += "<br>";
    else
      out += c;
  }
  return out;
}

}  // namespace kwetro
