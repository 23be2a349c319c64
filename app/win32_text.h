// UTF-8 and UTF-16 at the Win32 boundary, and the system's words for an error.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kwetro {

std::wstring Widen(std::string_view utf8);
std::string Narrow(const std::wstring& utf16);
// FormatMessage text of a Win32 error code, without the trailing line end.
std::string SystemMessage(DWORD error);

}  // namespace kwetro
