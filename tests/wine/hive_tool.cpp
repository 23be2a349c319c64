// A profile's hive for the checks, as the administrator step handles one:
//
//   hive_tool.exe save current|default FILE   HKEY_CURRENT_USER or HKEY_USERS\.DEFAULT
//                                             written to FILE as Wine stores hives
//   hive_tool.exe load NAME FILE              FILE loaded at HKEY_USERS\NAME
//   hive_tool.exe unload NAME                 and unloaded again
//
// Wine's hives are in its own text format; its server keeps a loaded key after
// this program ends, for REGEDIT and kwetro-cli, and drops it unwritten at the
// unload.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Enable(const wchar_t* privilege) {
  HANDLE token = nullptr;
  TOKEN_PRIVILEGES p = {};
  p.PrivilegeCount = 1;
  p.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token) &&
      LookupPrivilegeValueW(nullptr, privilege, &p.Privileges[0].Luid))
    AdjustTokenPrivileges(token, FALSE, &p, 0, nullptr, nullptr);
  if (token) CloseHandle(token);
}

int Done(LONG error, const char* what) {
  if (error == ERROR_SUCCESS) return 0;
  std::fprintf(stderr, "%s failed (error %ld)\n", what, error);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Enable(SE_RESTORE_NAME);
  Enable(SE_BACKUP_NAME);
  const std::wstring verb = argc > 1 ? argv[1] : L"";
  if (verb == L"save" && argc == 4) {
    const std::wstring which = argv[2];
    HKEY key = nullptr;
    DeleteFileW(argv[3]);
    const LONG opened = which == L"current"
                            ? RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &key)
                            : RegOpenKeyExW(HKEY_USERS, L".DEFAULT", 0, KEY_READ, &key);
    if (opened != ERROR_SUCCESS) return Done(opened, "RegOpenKeyEx");
    const LONG saved = RegSaveKeyW(key, argv[3], nullptr);
    RegCloseKey(key);
    return Done(saved, "RegSaveKey");
  }
  if (verb == L"load" && argc == 4) return Done(RegLoadKeyW(HKEY_USERS, argv[2], argv[3]), "RegLoadKey");
  if (verb == L"unload" && argc == 3) return Done(RegUnLoadKeyW(HKEY_USERS, argv[2]), "RegUnLoadKey");
  std::fputs("usage: hive_tool.exe save current|default FILE | load NAME FILE | unload NAME\n", stderr);
  return 2;
}
