#include "app/win32_system_files.h"

namespace kwetro {

std::wstring SystemFilePath(std::wstring_view name) {
  if (name.empty() || name.find_first_of(L"\\/:") != std::wstring_view::npos) return {};
  // The size asked for first includes the terminating zero.
  const UINT size = GetSystemDirectoryW(nullptr, 0);
  if (size == 0) return {};
  std::wstring folder(size, L'\0');
  const UINT length = GetSystemDirectoryW(&folder[0], size);
  if (length == 0 || length >= size) return {};
  folder.resize(length);
  return folder + L"\\" + std::wstring(name);
}

HMODULE LoadSystemLibrary(std::wstring_view name) {
  const std::wstring path = SystemFilePath(name);
  // With a full path and this flag, the libraries it imports are looked for
  // beside it first, in the system folder, and never in the program's folder.
  return path.empty() ? nullptr
                      : LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace kwetro
