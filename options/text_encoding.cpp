#include "options/text_encoding.h"

#include <array>
#include <cstdint>

namespace kwetro {
namespace {

// Unicode code points of the bytes 0x80 to 0xFF. Byte 0x98 has no letter in
// Windows-1251; it maps to U+0098 so that every byte survives a round trip.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

constexpr char kUnmappable = '?';

// Returns the Windows-1251 byte of a code point, or -1 when it has none.
int ByteOf(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(cp - 0x0410 + 0xC0);
  // Signs such as the guillemets keep their Latin-1 places.
  if (cp >= 0xA0 && cp < 0x100 && kHighHalf[cp - 0x80] == cp) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHighHalf.size(); ++i)
    if (kHighHalf[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

char16_t CodeOf(unsigned char b) {
  return b < 0x80 ? static_cast<char16_t>(b) : kHighHalf[b - 0x80];
}

// Decodes one UTF-8 sequence at text[i]; advances i. Returns U+FFFD for a
// malformed sequence (one byte consumed).
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int extra = 0;
  char32_t cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + extra >= text.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(text[i + k]);
    if ((c & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  i += extra + 1;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The Windows-1251 byte of the character at text[i], or -1 when it has none;
// advances i past the character.
int NextByte(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) {  // most of every text is ASCII
    ++i;
    return lead;
  }
  // Russian letters, two bytes each, make up most of the rest.
  if (i + 1 < text.size()) {
    const auto next = static_cast<unsigned char>(text[i + 1]);
    if (lead == 0xD0 && next >= 0x90 && next <= 0xBF) {  // U+0410..U+043F
      i += 2;
      return next + 0x30;
    }
    if (lead == 0xD1 && next >= 0x80 && next <= 0x8F) {  // U+0440..U+044F
      i += 2;
      return next + 0x70;
    }
  }
  return ByteOf(NextCodePoint(text, i));
}

}  // namespace

void AppendCp1251(std::string& out, std::string_view utf8) {
  // Most lines are ASCII and go as they stand. (A plain OR over the bytes:
  // the compiler does it many bytes at a time.)
  unsigned char bits = 0;
  for (char c : utf8) bits |= static_cast<unsigned char>(c);
  if (bits < 0x80) {
    out.append(utf8);
    return;
  }
  // Never more bytes than the UTF-8 text has: written in place, then cut.
  const std::size_t start = out.size();
  out.resize(start + utf8.size());
  char* to = &out[start];
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      *to++ = static_cast<char>(lead);
      ++i;
      continue;
    }
    const int b = NextByte(utf8, i);
    *to++ = b >= 0 ? static_cast<char>(b) : kUnmappable;
  }
  out.resize(static_cast<std::size_t>(to - out.data()));
}

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  AppendCp1251(out, utf8);
  return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char c : cp1251) AppendUtf8(out, CodeOf(static_cast<unsigned char>(c)));
  return out;
}

std::u16string Cp1251ToUtf16(std::string_view cp1251) {
  std::u16string out;
  AppendUtf16OfCp1251(cp1251, out);
  return out;
}

void AppendUtf16OfCp1251(std::string_view cp1251, std::u16string& out) {
  const std::size_t start = out.size();
  out.resize(start + cp1251.size());
  char16_t* to = out.data() + start;
  for (char c : cp1251) *to++ = CodeOf(static_cast<unsigned char>(c));
}

void AppendUtf16Le(std::u16string_view utf16, std::string& out) {
  out.reserve(out.size() + 2 * utf16.size());
  for (char16_t c : utf16) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string FoldCase(std::string_view cp1251) {
  // Every byte's lower-case form: A..Z and А..Я, and the capitals of the
  // code page beyond them, each to its small letter.
  static const std::array<char, 256> kLower = [] {
    std::array<char, 256> lower{};
    for (int b = 0; b < 256; ++b)
      lower[static_cast<std::size_t>(b)] =
          static_cast<char>((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF) ? b + 32 : b);
    const unsigned char pairs[][2] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
                                      {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2},
                                      {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
                                      {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
    for (const auto& pair : pairs) lower[pair[0]] = static_cast<char>(pair[1]);
    return lower;
  }();
  std::string out(cp1251.size(), '\0');
  for (std::size_t i = 0; i < cp1251.size(); ++i)
    out[i] = kLower[static_cast<unsigned char>(cp1251[i])];
  return out;
}

bool IsCp1251Representable(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();)
    if (NextByte(utf8, i) < 0) return false;
  return true;
}

std::string ToOemCyrillic(std::string_view cp1251) {
  std::string out(cp1251);
  for (char& c : out) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0xC0 && b <= 0xEF)
      c = static_cast<char>(b - 0x40);
    else if (b >= 0xF0)
      c = static_cast<char>(b - 0x10);
    else if (b == 0xB8)
      c = static_cast<char>(0xF1);
    else if (b == 0xA8)
      c = static_cast<char>(0xF0);
  }
  return out;
}

}  // namespace kwetro
