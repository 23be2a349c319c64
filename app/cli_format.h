// kwetro-cli's listings (list, audit) in each output format: rows under
// named columns, written as TSV, JSON or Markdown.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kwetro {

enum class Format { kTsv, kJson, kMarkdown };

// The format --format names: tsv, json or markdown. False, with the message,
// for any other name.
bool ParseFormat(const std::string& name, Format& format, std::string& error);

struct Column {
  const char* name;
  // Its fields are lists of texts, which JSON alone shows (as arrays).
  bool list = false;
};

// A row's field: a text, or in a list column the texts of the list.
struct Field {
  Field(std::string text) : text(std::move(text)) {}  // NOLINT(runtime/explicit): rows of texts
  Field(std::vector<std::string> list) : list(std::move(list)) {}  // NOLINT(runtime/explicit)

  std::string text;
  std::vector<std::string> list;
};

struct Listing {
  std::vector<Column> columns;
  std::vector<std::vector<Field>> rows;  // a field per column
  // Markdown: the text above the tables, and the column whose value heads a
  // table of its own with the rows that have it (-1: one table for all). The
  // first column stands as code.
  std::string markdownTitle;
  int markdownSection = -1;
};

std::string Render(const Listing& listing, Format format);

// A field as each format holds it. TSV: a tab, line break or backslash
// written \t, \n, \\. JSON: a quoted string. Markdown: a table cell, | escaped
// and line breaks as <br>.
std::string Tsv(const std::string& field);
std::string Json(const std::string& text);
std::string Markdown(const std::string& text);

}  // namespace kwetro
