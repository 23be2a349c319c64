// Files that Windows itself ships, named by their full path in the system
// folder. A library or program looked up by its bare name is searched for in
// the program's own folder first, so one of that name planted beside the
// program (a download folder, a USB stick) would run in its place.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kwetro {

// "<system folder>\<name>"; "" when the folder is unknown or the name is not a
// bare file name (it holds a folder, a drive or nothing).
std::wstring SystemFilePath(std::wstring_view name);

// The library of that name from the system folder, kept loaded; the libraries
// it needs are looked for in the system folder too. Null when the name is
// refused or the system folder holds no such library: never a file of that
// name from anywhere else.
HMODULE LoadSystemLibrary(std::wstring_view name);

}  // namespace kwetro
