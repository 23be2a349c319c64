// Reads back registry keys in one process: for every key path listed in
// LISTFILE (UTF-16LE, one full path a line) that exists, writes its values in
// the export format of REGEDIT (UTF-16LE with a byte-order mark) to OUTFILE.
// Keys are not descended into. One start instead of one REGEDIT /E per key
// or a whole-hive export keeps the Wine checks fast.
//
//   reg_dump.exe LISTFILE OUTFILE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "win32/registry_key.h"

namespace {

bool OpenKey(const std::wstring& path, HKEY& key) {
  const std::size_t slash = std::min(path.find(L'\\'), path.size());
  const HKEY root = kwetro::RootKey(std::wstring_view(path).substr(0, slash));
  return root && RegOpenKeyExW(root, path.c_str() + std::min(slash + 1, path.size()), 0, KEY_READ,
                               &key) == ERROR_SUCCESS;
}

std::wstring Quoted(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    const wchar_t* escape = c == L'\\'   ? L"\\\\"
                            : c == L'"'  ? L"\\\""
                            : c == L'\n' ? L"\\n"
                            : c == L'\r' ? L"\\r"
                            : c == L'\0' ? L"\\0"
                                         : nullptr;
    out += escape ? escape : std::wstring(1, c);
  }
  return out + L"\"";
}

std::wstring Data(DWORD type, const BYTE* data, DWORD size) {
  wchar_t buffer[32];
  if (type == REG_DWORD && size == 4) {
    swprintf(buffer, 32, L"dword:%08x", *reinterpret_cast<const DWORD*>(data));
    return buffer;
  }
  if (type == REG_SZ && size % 2 == 0) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data), size / 2);
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return Quoted(text);
  }
  swprintf(buffer, 32, type == REG_BINARY ? L"hex:" : L"hex(%x):", static_cast<unsigned>(type));
  std::wstring out = buffer;
  for (DWORD i = 0; i < size; ++i) {
    swprintf(buffer, 32, i ? L",%02x" : L"%02x", data[i]);
    out += buffer;
  }
  return out;
}

std::wstring DumpKey(const std::wstring& path, HKEY key) {
  std::wstring out = L"[" + path + L"]\r\n";
  DWORD maxName = 0, maxData = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                   &maxData, nullptr, nullptr);
  std::vector<wchar_t> name(maxName + 2);
  std::vector<BYTE> data(maxData + 2);
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS)
      return out + L"\r\n";
    const std::wstring valueName(name.data(), nameLength);
    out += (valueName.empty() ? L"@" : Quoted(valueName)) + L"=" + Data(type, data.data(), size) +
           L"\r\n";
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  FILE* list = argc == 3 ? _wfopen(argv[1], L"rb") : nullptr;
  if (!list) return 2;
  std::wstring paths;
  wchar_t buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, sizeof(wchar_t), 4096, list)) > 0;)
    paths.append(buffer, n);
  std::fclose(list);

  std::wstring out = L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n";
  for (std::size_t pos = 0, end; pos < paths.size(); pos = end + 1) {
    end = std::min(paths.find(L'\n', pos), paths.size());
    const std::wstring path = paths.substr(pos, end - pos);
    HKEY key;
    if (path.empty() || !OpenKey(path, key)) continue;
    const kwetro::UniqueKey owner(key);
    out += DumpKey(path, key);
  }
  FILE* file = _wfopen(argv[2], L"wb");
  if (!file) return 1;
  const bool ok = std::fwrite(out.data(), sizeof(wchar_t), out.size(), file) == out.size();
  return std::fclose(file) == 0 && ok ? 0 : 1;
}
