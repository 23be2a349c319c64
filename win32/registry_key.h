// A registry key the program opened, closed when it goes. It opens, reads and
// writes the key itself, so that no code outside this folder holds an HKEY.
//
// Every key is opened in the 64-bit registry's view, the one REGEDIT imports
// into and the logon reads: the i686 build on 64-bit Windows runs under WOW64,
// where HKEY_LOCAL_MACHINE\Software would otherwise be a copy kept for 32-bit
// programs. 32-bit Windows, XP among them, has one registry and passes over
// the flag, and for the x86_64 build it names the view it has anyway.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "win32/handles.h"

#ifndef KEY_WOW64_64KEY
#define KEY_WOW64_64KEY 0x0100
#endif

namespace kwetro {

// The root key of that full name (HKEY_LOCAL_MACHINE, HKEY_USERS,
// HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG); null for another.
inline HKEY RootKey(std::wstring_view name) {
  const struct {
    std::wstring_view name;
    HKEY key;
  } roots[] = {{L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
               {L"HKEY_USERS", HKEY_USERS},
               {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
               {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
               {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}};
  for (const auto& r : roots)
    if (r.name == name) return r.key;
  return nullptr;
}

// Each call gives the system's answer: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND,
// ERROR_ACCESS_DENIED, ...
class RegistryKey {
 public:
  // Opens path below the root key of that full name (RootKey) with the rights
  // given; ERROR_INVALID_PARAMETER for another root.
  LONG Open(std::wstring_view root, const wchar_t* path, REGSAM rights) {
    const HKEY top = RootKey(root);
    return top ? OpenFrom(top, path, rights) : ERROR_INVALID_PARAMETER;
  }
  // Opens path below a key this program holds open.
  LONG OpenBelow(const RegistryKey& parent, const wchar_t* path, REGSAM rights) {
    return OpenFrom(parent.key_.Get(), path, rights);
  }

  // A value's type and data, read whole.
  LONG Query(const wchar_t* name, DWORD& type, std::string& bytes) const {
    // Most values fit the first buffer: one call to the registry each.
    DWORD size = 256;
    LONG result = ERROR_MORE_DATA;
    for (int attempt = 0; result == ERROR_MORE_DATA && attempt < 4; ++attempt) {
      bytes.resize(size);
      result = RegQueryValueExW(key_.Get(), name, nullptr, &type,
                                reinterpret_cast<BYTE*>(bytes.data()), &size);
    }
    if (result == ERROR_SUCCESS) bytes.resize(size);
    return result;
  }
  bool HasValue(const wchar_t* name) const {
    return RegQueryValueExW(key_.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }
  // A string value up to its first zero: REG_SZ, or REG_EXPAND_SZ too
  // (unexpanded) when asked; "" when there is none or it is of another type.
  std::wstring String(const wchar_t* name, bool expandableToo) const {
    DWORD type = 0;
    std::string bytes;
    if (Query(name, type, bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && !(expandableToo && type == REG_EXPAND_SZ)))
      return {};
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    bytes.copy(reinterpret_cast<char*>(text.data()), text.size() * sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
  }
  // The name of the subkey at index; ERROR_NO_MORE_ITEMS past the last.
  LONG SubkeyName(DWORD index, std::wstring& name) const {
    wchar_t buffer[256];  // the longest key name the registry allows, and its end
    DWORD length = 256;
    const LONG result =
        RegEnumKeyExW(key_.Get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) name.assign(buffer, length);
    return result;
  }

  LONG SetString(const wchar_t* name, const std::wstring& data) const {
    return RegSetValueExW(key_.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  // Writes the key's changes to the disk now.
  LONG Flush() const { return RegFlushKey(key_.Get()); }
  // The key and everything below it as a hive file (SeBackupPrivilege).
  LONG SaveAs(const wchar_t* file) const { return RegSaveKeyW(key_.Get(), file, nullptr); }

 private:
  LONG OpenFrom(HKEY top, const wchar_t* path, REGSAM rights) {
    key_.Reset();
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExW(top, path, 0, rights | KEY_WOW64_64KEY, &opened);
    if (result == ERROR_SUCCESS) key_.Reset(opened);
    return result;
  }

  UniqueKey key_;
};

// A hive file loaded below HKEY_USERS under that name for a while
// (SeRestorePrivilege), and unloaded again.
inline LONG LoadHive(const wchar_t* name, const wchar_t* file) {
  return RegLoadKeyW(HKEY_USERS, name, file);
}
inline LONG UnloadHive(const wchar_t* name) { return RegUnLoadKeyW(HKEY_USERS, name); }

}  // namespace kwetro
