// The text of a string value as a REGEDIT file holds it between its quotes:
// each backslash and each quote escaped by a backslash. One rule for every
// string the program writes into a registry script or shows as one, and for
// the unquoted values of a script read back.
#pragma once

#include <string>
#include <string_view>

namespace kwetro {

template <typename Char>
void AppendRegString(std::basic_string<Char>& out, std::basic_string_view<Char> text) {
  for (Char c : text) {
    if (c == Char('\\') || c == Char('"')) out += Char('\\');
    out += c;
  }
}

// The same with its quotes around it.
inline std::string QuotedRegString(std::string_view text) {
  std::string out = "\"";
  AppendRegString(out, text);
  return out += '"';
}

}  // namespace kwetro
