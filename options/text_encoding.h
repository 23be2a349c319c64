// Conversions between the program's UTF-8 text and the Windows-1251 bytes of
// the files it writes (registry scripts, settings file) and code page 866 of
// the batch file.
#pragma once

#include <string>
#include <string_view>

namespace kwetro {

// UTF-8 to Windows-1251. A character with no Windows-1251 byte becomes '?';
// malformed UTF-8 bytes become '?' as well.
std::string Utf8ToCp1251(std::string_view utf8);
// The same, appended to out.
void AppendCp1251(std::string& out, std::string_view utf8);

// Windows-1251 to UTF-8; every byte has a character, so the round trip
// Cp1251ToUtf8 then Utf8ToCp1251 gives back the same bytes.
std::string Cp1251ToUtf8(std::string_view cp1251);

// Windows-1251 to UTF-16, each byte one character (CR LF stays two), as a
// window shows a file of that code page.
std::u16string Cp1251ToUtf16(std::string_view cp1251);

// Lower-case form of Windows-1251 text: Latin and Cyrillic letters, for
// comparisons without regard to case.
std::string FoldCase(std::string_view cp1251);

// Appends the UTF-16 text of Windows-1251 bytes to out; a reader of large
// files reuses one buffer for every line instead of allocating per line.
void AppendUtf16OfCp1251(std::string_view cp1251, std::u16string& out);

// Appends UTF-16 text as little-endian bytes, as registry exports hold it.
void AppendUtf16Le(std::u16string_view utf16, std::string& out);

// UTF-16 to UTF-8, for messages; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// True when every character of the UTF-8 text has a Windows-1251 byte.
bool IsCp1251Representable(std::string_view utf8);

// Maps the Russian letters of Windows-1251 onto their places in code page 866
// (the console code page of a Russian Windows), for batch files.
std::string ToOemCyrillic(std::string_view cp1251);

}  // namespace kwetro
