#include "options/text_encoding.h"

#include <gtest/gtest.h>

namespace kwetro {
namespace {

TEST(TextEncoding, EveryByteAtEveryPlaceAndWhatHasNoByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
  // Russian letters take a short path of their own: every character comes out
  // the same after ASCII and between Russian letters.
  for (int b = 0x80; b < 0x100; ++b) {
    const std::string byte(1, static_cast<char>(b)), utf8 = Cp1251ToUtf8(byte);
    EXPECT_EQ(Utf8ToCp1251("ab" + utf8 + "Я" + utf8 + "я"), "ab" + byte + "\xDF" + byte + "\xFF");
  }
  // U+040F and U+0450 stand right outside the run U+0410..U+044F; then a CJK
  // letter, a cut-off sequence, stray bytes and a four-byte sequence.
  EXPECT_EQ(Utf8ToCp1251("\xD0\x8F\xD1\x90 \xE4\xB8\xAD\xC3 \xFF\x80 \xF0\x9F\x98\x80"),
            "\x8F? ?? ?? ?");
  EXPECT_FALSE(IsCp1251Representable("\xE4\xB8\xAD"));
  EXPECT_TRUE(IsCp1251Representable("Сервисы и службы № «»"));
}

}  // namespace
}  // namespace kwetro
