// Texts are converted to Windows-1251 where the Russian letters take a short
// path of their own; the other Cyrillic letters, the text's end and broken
// sequences must come out the same as through the general one.
#include <gtest/gtest.h>

#include "options/text_encoding.h"

namespace kwetro {
namespace {

TEST(Cp1251Append, EveryByteAtEveryPlaceOfAText) {
  for (int b = 0x80; b < 0x100; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string utf8 = Cp1251ToUtf8(byte);
    // The character alone, at the end of a text, and between letters.
    for (const std::string& text : {utf8, "ab" + utf8, "\xD0\x90" + utf8 + "z"}) {
      std::string out = "pre";
      ASSERT_TRUE(AppendCp1251(text, out)) << b;
      EXPECT_EQ(out, "pre" + Utf8ToCp1251(text)) << b;
    }
    std::string out;
    ASSERT_TRUE(AppendCp1251(utf8, out));
    EXPECT_EQ(out, byte) << b;
  }
}

TEST(Cp1251Append, RussianAlphabetAndItsNeighbours) {
  // U+040F (Џ) and U+0450 (ѐ) stand right outside the run U+0410..U+044F.
  std::string out;
  ASSERT_TRUE(AppendCp1251("\xD0\x8F\xD0\x90\xD0\xBF\xD1\x80\xD1\x8F", out));
  EXPECT_EQ(out, "\x8F\xC0\xEF\xF0\xFF");
  out.clear();
  EXPECT_FALSE(AppendCp1251("\xD1\x90", out));  // ѐ has no Windows-1251 byte
  EXPECT_EQ(Utf8ToCp1251("\xD1\x90\xD1\x91"), "?\xB8");
}

TEST(Cp1251Append, RefusalLeavesTheTextAsItWas) {
  for (const char* bad :
       {"\xE4\xB8\xAD", "ok\xD0", "\xD0z", "\x80", "\xD1\xC0", "\xF0\x9F\x98\x80"}) {
    std::string out = "kept";
    EXPECT_FALSE(AppendCp1251(std::string("abc") + bad + "def", out)) << bad;
    EXPECT_EQ(out, "kept") << bad;
  }
  std::string out;
  EXPECT_TRUE(AppendCp1251("", out));
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace kwetro
