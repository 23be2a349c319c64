// A spinner's typed text: the number stored, or none, and the note when the
// range changed it.
#include "app/spinner_text.h"

#include <gtest/gtest.h>

namespace kwetro::testing {
namespace {

TEST(SpinnerText, TypedTextToTheNumberStored) {
  const struct {
    const wchar_t* text;
    int min, max;
    std::optional<int> value;  // none: the stored value stays
    const wchar_t* note;
  } rows[] = {
      {L"42", 0, 100, 42, L""},
      {L"  +7", 0, 100, 7, L""},
      {L"-3", -10, 10, -3, L""},
      {L"0", 1, 31, 1, L"Допустимо от 1 до 31: вместо 0 записывается 1."},
      {L"250", 0, 100, 100, L"Допустимо от 0 до 100: вместо 250 записывается 100."},
      // No range: any number, and past 32 bits the end of that range.
      {L"-70000", 0, 0, -70000, L""},
      {L"99999999999", 0, 0, 2147483647, L""},
      {L"-99999999999", 5, 5, -2147483647 - 1, L""},
      {L"99999999999", 0, 9, 9, L"Допустимо от 0 до 9: вместо 99999999999 записывается 9."},
      // Not a number, or more than one.
      {L"", 0, 100, std::nullopt, L""},
      {L"-", 0, 100, std::nullopt, L""},
      {L"12a", 0, 100, std::nullopt, L""},
      {L"12 ", 0, 100, std::nullopt, L""},
      {L"1 2", 0, 100, std::nullopt, L""},
  };
  for (const auto& row : rows) {
    const auto entry = ReadSpinnerText(row.text, row.min, row.max);
    ASSERT_EQ(entry.has_value(), row.value.has_value()) << ::testing::PrintToString(row.text);
    if (!entry) continue;
    EXPECT_EQ(entry->value, *row.value) << ::testing::PrintToString(row.text);
    EXPECT_EQ(entry->note, row.note) << ::testing::PrintToString(row.text);
  }
}

}  // namespace
}  // namespace kwetro::testing
