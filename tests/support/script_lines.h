// Helpers for tests that read registry scripts line by line.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/generators.h"
#include "options/form.h"
#include "options/text_encoding.h"
#include "ui/form_loader.h"

namespace kwetro::testing {

// The window as the program starts without a settings file.
inline Form BuiltInForm() {
  Form form;
  std::string error;
  EXPECT_TRUE(LoadFormResource(StoredFormDescription(), form, error)) << error;
  return form;
}

// Sets an option's state the way code does (its handler runs).
inline void Set(Form& form, const char* name, TriState state) {
  form.SetState(OptionIndex(name), state);
  form.RunClickHandler(OptionIndex(name));
}

// The built-in form with every option (but the services preset and the
// handler-less box) in one state, captions following.
inline Form AllOptions(TriState state) {
  Form form = BuiltInForm();
  for (const auto& def : OptionDefs())
    if (def.role == OptionRole::kOption) Set(form, def.name.c_str(), state);
  return form;
}

// The script's lines in UTF-8, without their CR LF. Fails the test when a
// line end is not CR LF or the last line has none.
inline std::vector<std::string> Lines(const RegScript& script) {
  const std::string& bytes = script.Bytes();
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", pos);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line has no CR LF";
      break;
    }
    const std::string line = bytes.substr(pos, end - pos);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line end in: " << line;
    lines.push_back(Cp1251ToUtf8(line));
    pos = end + 2;
  }
  return lines;
}

// The lines of the section with that title (UTF-8, without "; "): from the
// line after its header up to the next separator line or the end.
inline std::vector<std::string> Section(const std::vector<std::string>& lines,
                                        const std::string& title) {
  const std::string separator(";" + std::string(79, '-'));
  std::vector<std::string> out;
  for (std::size_t i = 0; i + 3 < lines.size(); ++i) {
    if (lines[i] == separator && lines[i + 1] == "; " + title) {
      std::size_t j = i + 2;
      while (j < lines.size() && lines[j] != separator) ++j;  // skip legend lines
      for (j += 2; j < lines.size() && lines[j] != separator; ++j) out.push_back(lines[j]);
      return out;
    }
  }
  ADD_FAILURE() << "no section " << title;
  return out;
}

// True when the lines contain needle as a contiguous run.
inline bool ContainsRun(const std::vector<std::string>& lines,
                        const std::vector<std::string>& needle) {
  if (needle.empty()) return true;
  for (std::size_t i = 0; i + needle.size() <= lines.size(); ++i) {
    bool all = true;
    for (std::size_t k = 0; k < needle.size() && all; ++k) all = lines[i + k] == needle[k];
    if (all) return true;
  }
  return false;
}

}  // namespace kwetro::testing
