// Whole scripts: the frame and section order of hkcu.reg, and the exact bytes
// of both scripts for one selection in each state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "support/script_lines.h"

namespace kwetro {
namespace {

using kwetro::testing::AllOptions;
using kwetro::testing::Lines;
using Strings = std::vector<std::string>;

TEST(HkcuScript, FrameAndSectionsInOrder) {
  const Strings lines = Lines(BuildHkcuScript(AllOptions(cbGrayed)));
  const std::string separator = ";" + std::string(79, '-');
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(
      Strings(lines.begin(), lines.begin() + 6),
      (Strings{"Windows Registry Editor Version 5.00", "", separator, "; СИСТЕМА", separator, ""}));
  Strings titles;
  for (std::size_t i = 1; i < lines.size(); ++i)
    if (lines[i - 1] == separator && lines[i].rfind("; ", 0) == 0) titles.push_back(lines[i]);
  EXPECT_EQ(titles, (Strings{"; СИСТЕМА", "; ПРОВОДНИК", "; МЕДИАПЛЕЕР", "; НАСТРОЙКИ IE"}));
}

// A fixed selection for each state, with the texts the scripts copy from the
// window set here, so that the window description may change freely.
Form Selection(TriState state) {
  Form form = AllOptions(state);
  form.layoutOrderLabel = Utf8ToCp1251("Порядок раскладок клавиатуры");
  for (int c = 0; c < kComboCount; ++c) {
    form.combos[c].itemIndex = static_cast<int>(state);
    form.combos[c].hint = Utf8ToCp1251(std::string("Список ") + ComboNames()[c]);
  }
  for (auto& spinner : form.spinners) spinner.value = 5 + static_cast<int>(state);
  return form;
}

// 64-bit FNV-1a of the bytes, with their count.
std::string Fingerprint(const std::string& bytes) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  std::string hex(16, '0');
  for (int i = 15; i >= 0; --i, h >>= 4)
    hex[static_cast<std::size_t>(i)] = "0123456789abcdef"[h & 15];
  return std::to_string(bytes.size()) + ":" + hex;
}

// The scripts of these selections were checked line by line against an
// independent reading of the catalogue (every row, every state, every list
// index); the fingerprints hold those bytes, so any change to a key, a value,
// a caption or a line end shows here. A deliberate change of the catalogue
// means reading the new scripts again before updating them.
TEST(WholeScripts, MatchTheCheckedBytes) {
  const struct {
    TriState state;
    const char* hkcu;
    const char* hklm;
  } cases[] = {
      {cbChecked, "19258:4dafbc620294c28e", "12276:1ab9886da21ce973"},
      {cbUnchecked, "16041:0a59675cd798bc21", "10288:a0f088b04703e031"},
      {cbGrayed, "1450:a7ed4bb14e544f18", "1420:067b047dadc369d1"},
  };
  for (const auto& c : cases) {
    const Form form = Selection(c.state);
    EXPECT_EQ(Fingerprint(BuildHkcuScript(form).Bytes()), c.hkcu) << "state " << int(c.state);
    EXPECT_EQ(Fingerprint(BuildHklmScript(form).Bytes()), c.hklm) << "state " << int(c.state);
  }
}

}  // namespace
}  // namespace kwetro
