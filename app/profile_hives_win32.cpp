#include "app/profile_hives_win32.h"

#include <sddl.h>

#include "app/all_users.h"
#include "app/user_part.h"
#include "app/win32_text.h"
#include "win32/handles.h"

#ifndef KEY_WOW64_64KEY
#define KEY_WOW64_64KEY 0x0100
#endif

namespace kwetro {
namespace {

const wchar_t kProfileListKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// Where each hive is loaded, as a name below HKEY_USERS.
std::wstring Mount() { return Widen(kHiveMount); }

void EnablePrivilege(HANDLE token, const wchar_t* name) {
  TOKEN_PRIVILEGES privilege = {};
  privilege.PrivilegeCount = 1;
  privilege.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  // Without it (not an administrator), RegLoadKey itself says so.
  if (LookupPrivilegeValueW(nullptr, name, &privilege.Privileges[0].Luid))
    AdjustTokenPrivileges(token, FALSE, &privilege, 0, nullptr, nullptr);
}

// A string value (REG_SZ or REG_EXPAND_SZ), or "" when there is none.
std::wstring StringValue(HKEY key, const wchar_t* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
      ERROR_SUCCESS)
    return {};
  data.resize(wcslen(data.c_str()));
  return data;
}

std::wstring WindowsFolderFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : folder + std::wstring(L"\\") + name;
}

// Runs the system's REGEDIT with the arguments and waits for its end. Its
// exit status says nothing: REGEDIT ends with 0 also when it failed.
bool RunRegedit(const std::wstring& arguments, std::string& reason) {
  const std::wstring program = WindowsFolderFile(L"regedit.exe");
  std::wstring commandLine = L"regedit.exe " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (program.empty() || !CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                                         0, nullptr, nullptr, &startup, &process)) {
    reason = "REGEDIT: " + SystemMessage(GetLastError());
    return false;
  }
  const UniqueHandle thread(process.hThread), running(process.hProcess);
  WaitForSingleObject(running.Get(), INFINITE);
  return true;
}

// The file is there and ends with a line end, in UTF-16 or in ANSI: REGEDIT
// ends every export so, and a disk that fills up cuts it short.
bool CompleteExport(const std::wstring& path) {
  const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size = {}, back = {};
  back.QuadPart = -2;
  char tail[2] = {};
  DWORD got = 0;
  return file.Get() != INVALID_HANDLE_VALUE && GetFileSizeEx(file.Get(), &size) &&
         size.QuadPart >= 2 && SetFilePointerEx(file.Get(), back, nullptr, FILE_END) &&
         ReadFile(file.Get(), tail, 2, &got, nullptr) && got == 2 &&
         ((tail[0] == '\n' && tail[1] == '\0') || tail[1] == '\n');
}

// Wine keeps a hive loaded under HKEY_USERS in memory only, and forgets it
// at the unload without writing it back to its file; Windows writes it.
bool RunsOnWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

Win32HiveHost::Win32HiveHost() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  const UniqueHandle owned(token);
  EnablePrivilege(token, SE_RESTORE_NAME);
  EnablePrivilege(token, SE_BACKUP_NAME);
}

bool Win32HiveHost::ReadProfiles(ProfileList& list, std::string& reason) {
  HKEY opened = nullptr;
  const LONG error =
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProfileListKey, 0, KEY_READ | KEY_WOW64_64KEY, &opened);
  if (error != ERROR_SUCCESS) {
    reason = SystemMessage(static_cast<DWORD>(error));
    return false;
  }
  const UniqueKey key(opened);
  const auto expanded = [this](const std::wstring& text) {
    return text.empty() ? std::string() : platform_.ExpandEnvironment(Narrow(text));
  };
  // Windows XP names the Default User's folder inside the profiles' folder;
  // later versions give its whole path.
  const std::wstring directory = StringValue(key.Get(), L"ProfilesDirectory");
  const std::wstring defaultUser = StringValue(key.Get(), L"DefaultUserProfile");
  list.defaultUserFolder = !directory.empty() && !defaultUser.empty()
                               ? expanded(directory + L"\\" + defaultUser)
                               : expanded(StringValue(key.Get(), L"Default"));
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    const LONG next =
        RegEnumKeyExW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (next == ERROR_NO_MORE_ITEMS) break;
    if (next != ERROR_SUCCESS) continue;
    ProfileEntry entry;
    entry.sid = Narrow(name);
    HKEY profile = nullptr;
    if (RegOpenKeyExW(key.Get(), name, 0, KEY_QUERY_VALUE, &profile) == ERROR_SUCCESS) {
      const UniqueKey owned(profile);
      entry.folder = expanded(StringValue(profile, L"ProfileImagePath"));
      entry.roaming = !StringValue(profile, L"CentralProfile").empty();
    }
    list.profiles.push_back(entry);
  }
  return true;
}

std::string Win32HiveHost::CurrentUser() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  const UniqueHandle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::string buffer(size, '\0');
  wchar_t* text = nullptr;
  if (size == 0 || !GetTokenInformation(token, TokenUser, &buffer[0], size, &size) ||
      !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid, &text))
    return {};
  const UniqueLocal sidText(text);
  return Narrow(text);
}

bool Win32HiveHost::InUse(const std::string& sid) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_USERS, Widen(sid).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return false;
  const UniqueKey key(opened);
  return true;
}

bool Win32HiveHost::Load(const std::string& hive, std::string& reason) {
  // RegLoadKey makes an empty hive of a file that is not there: written into,
  // it would stand in for the profile's settings at the user's next logon.
  const std::wstring file = Widen(hive);
  if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
    reason = SystemMessage(GetLastError());
    return false;
  }
  // A hive an earlier run left loaded when it was stopped halfway is ours.
  RegUnLoadKeyW(HKEY_USERS, Mount().c_str());
  const LONG error = RegLoadKeyW(HKEY_USERS, Mount().c_str(), file.c_str());
  if (error == ERROR_SUCCESS) return true;
  reason = SystemMessage(static_cast<DWORD>(error));
  // Wine keeps the key it made for a file it could not read.
  RegUnLoadKeyW(HKEY_USERS, Mount().c_str());
  return false;
}

bool Win32HiveHost::HasMark(const std::string& mark) {
  HKEY opened = nullptr;
  const std::wstring key = Mount() + L"\\" + Widen(kMarkKey);
  if (RegOpenKeyExW(HKEY_USERS, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return false;
  const UniqueKey owned(opened);
  return RegQueryValueExW(opened, Widen(mark).c_str(), nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

bool Win32HiveHost::Export(const std::string& file, std::string& reason) {
  // Written under another name first: a failed export leaves an earlier
  // backup as it was.
  const std::wstring target = Widen(file), fresh = target + L".new";
  DeleteFileW(fresh.c_str());
  if (!RunRegedit(L"/E \"" + fresh + L"\" \"HKEY_USERS\\" + Mount() + L"\"", reason)) return false;
  if (!CompleteExport(fresh)) {
    DeleteFileW(fresh.c_str());
    reason = "REGEDIT /E wrote no complete export";
    return false;
  }
  if (MoveFileExW(fresh.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  reason = SystemMessage(GetLastError());
  DeleteFileW(fresh.c_str());
  return false;
}

bool Win32HiveHost::Import(const std::string& script, std::string& reason) {
  return RunRegedit(L"/S \"" + Widen(script) + L"\"", reason);
}

bool Win32HiveHost::Unload(const std::string& hive, std::string& reason) {
  const bool wine = RunsOnWine();
  const std::wstring file = Widen(hive), saved = file + L".kwetro";
  LONG saving = ERROR_SUCCESS;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_USERS, Mount().c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS) {
    const UniqueKey key(opened);
    // On the disk before the unload, as the start-up commands are.
    RegFlushKey(opened);
    if (wine) {
      DeleteFileW(saved.c_str());
      saving = RegSaveKeyW(opened, saved.c_str(), nullptr);
    }
  }
  const LONG error = RegUnLoadKeyW(HKEY_USERS, Mount().c_str());
  if (error != ERROR_SUCCESS || saving != ERROR_SUCCESS) {
    reason = SystemMessage(static_cast<DWORD>(error != ERROR_SUCCESS ? error : saving));
    return false;
  }
  if (wine && !MoveFileExW(saved.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    reason = SystemMessage(GetLastError());
    return false;
  }
  return true;
}

}  // namespace kwetro
