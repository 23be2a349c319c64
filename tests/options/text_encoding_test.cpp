#include <gtest/gtest.h>

#include "options/text_encoding.h"

namespace kwetro {
namespace {

TEST(TextEncoding, RussianLettersTakeTheirWindows1251Bytes) {
  EXPECT_EQ(Utf8ToCp1251("АЯаяЁё"), "\xC0\xDF\xE0\xFF\xA8\xB8");
  EXPECT_EQ(Utf8ToCp1251("№ — «»"), "\xB9\x20\x97\x20\xAB\xBB");
}

TEST(TextEncoding, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
  EXPECT_EQ(Utf16ToCp1251(Cp1251ToUtf16(all)), all);
}

TEST(TextEncoding, UnmappableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("a\xE4\xB8\xAD" "b"), "a?b");  // a CJK letter
  EXPECT_EQ(Utf8ToCp1251("a\xC3"), "a?");                // cut-off sequence
  EXPECT_EQ(Utf8ToCp1251("\xFF\x80z"), "??z");
  EXPECT_FALSE(IsCp1251Representable("\xE4\xB8\xAD"));
  EXPECT_TRUE(IsCp1251Representable("Сервисы и службы"));
}

TEST(TextEncoding, OemCyrillicMovesOnlyRussianLetters) {
  const std::string path = Utf8ToCp1251("C:\\Папка\\Ёлка ё.exe");
  EXPECT_EQ(ToOemCyrillic(path), "C:\\\x8F\xA0\xAF\xAA\xA0\\\xF0\xAB\xAA\xA0 \xF1.exe");
  EXPECT_EQ(ToOemCyrillic(Utf8ToCp1251("рсяЮ")), "\xE0\xE1\xEF\x9E");
  EXPECT_EQ(ToOemCyrillic("\x97\xB9"), "\x97\xB9");  // other symbols stay
  EXPECT_EQ(ToOemCyrillic(""), "");
}

}  // namespace
}  // namespace kwetro
