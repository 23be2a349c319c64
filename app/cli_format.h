// Fields of kwetro-cli's listings as each output format holds them.
#pragma once

#include <string>

namespace kwetro {

// TSV: a tab, line break or backslash inside a field written \t, \n, \\.
std::string Tsv(const std::string& field);
// JSON: a quoted string.
std::string Json(const std::string& text);
// A Markdown table cell: | escaped, line breaks as <br>.
std::string Markdown(const std::string& text);

}  // namespace kwetro
