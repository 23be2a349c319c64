// A spinner's typed text: the number stored, or none, and the note when the
// range changed it (tests/app/spinner_texts.txt).
#include "app/spinner_text.h"

#include <gtest/gtest.h>

#include "options/text_encoding.h"
#include "support/files.h"

namespace kwetro::testing {
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string text = Cp1251ToUtf16(Utf8ToCp1251(utf8));
  return std::wstring(text.begin(), text.end());
}

TEST(SpinnerText, TypedTextToTheNumberStored) {
  const auto rows = ReadTable("tests/app/spinner_texts.txt");
  EXPECT_EQ(rows.size(), 14u);
  for (const auto& row : rows) {
    const auto entry = ReadSpinnerText(Wide(row.at(0)), std::stoi(row.at(1)), std::stoi(row.at(2)));
    ASSERT_EQ(entry.has_value(), row.at(3) != "-") << row[0];
    if (!entry) continue;
    EXPECT_EQ(entry->value, std::stoi(row[3])) << row[0];
    EXPECT_TRUE(entry->note == Wide(row.size() > 4 ? row[4] : "")) << row[0];
  }
}

}  // namespace
}  // namespace kwetro::testing
