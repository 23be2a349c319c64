// Reads back registry keys in one process: for every key path listed in
// LISTFILE (UTF-8, one full path a line) that exists, writes its values in
// the export format of REGEDIT (UTF-16LE with a byte-order mark) to OUTFILE.
// Keys are not descended into. One start instead of one REGEDIT /E per key
// or a whole-hive export keeps the Wine checks fast.
//
//   reg_dump.exe LISTFILE OUTFILE
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
  return out;
}

bool OpenKey(const std::wstring& path, HKEY& key) {
  static const struct {
    const wchar_t* name;
    HKEY root;
  } roots[] = {{L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
               {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
               {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
               {L"HKEY_USERS", HKEY_USERS},
               {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}};
  const std::size_t slash = path.find(L'\\');
  const std::wstring rootName = path.substr(0, slash);
  const std::wstring rest = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
  for (const auto& r : roots)
    if (rootName == r.name)
      return RegOpenKeyExW(r.root, rest.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
  return false;
}

std::wstring Quoted(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'"') {
      out += L'\\';
      out += c;
    } else if (c == L'\n') {
      out += L"\\n";
    } else if (c == L'\r') {
      out += L"\\r";
    } else if (c == L'\0') {
      out += L"\\0";
    } else {
      out += c;
    }
  }
  return out + L"\"";
}

std::wstring Data(DWORD type, const std::vector<BYTE>& data) {
  wchar_t buffer[32];
  if (type == REG_DWORD && data.size() == 4) {
    DWORD value;
    std::memcpy(&value, data.data(), 4);
    swprintf(buffer, 32, L"dword:%08x", static_cast<unsigned>(value));
    return buffer;
  }
  if (type == REG_SZ && data.size() % 2 == 0) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return Quoted(text);
  }
  std::wstring out;
  if (type == REG_BINARY) {
    out = L"hex:";
  } else {
    swprintf(buffer, 32, L"hex(%x):", static_cast<unsigned>(type));
    out = buffer;
  }
  for (std::size_t i = 0; i < data.size(); ++i) {
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
    DWORD nameLength = static_cast<DWORD>(name.size()),
          dataLength = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength) !=
        ERROR_SUCCESS)
      break;
    const std::wstring valueName(name.data(), nameLength);
    out += valueName.empty() ? L"@" : Quoted(valueName);
    out += L"=" + Data(type, std::vector<BYTE>(data.begin(), data.begin() + dataLength)) + L"\r\n";
  }
  return out + L"\r\n";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fwprintf(stderr, L"usage: reg_dump LISTFILE OUTFILE\n");
    return 2;
  }
  FILE* list = _wfopen(argv[1], L"rb");
  if (!list) return 1;
  std::string bytes;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, list)) > 0;)
    bytes.append(buffer, n);
  std::fclose(list);

  std::wstring out = L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n";
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::wstring path = Widen(line);
    HKEY key;
    if (!OpenKey(path, key)) continue;
    out += DumpKey(path, key);
    RegCloseKey(key);
  }
  FILE* file = _wfopen(argv[2], L"wb");
  if (!file) return 1;
  const bool ok = std::fwrite(out.data(), sizeof(wchar_t), out.size(), file) == out.size();
  return std::fclose(file) == 0 && ok ? 0 : 1;
}
