#include "app/profile_hives_win32.h"

#include <sddl.h>

#include "app/all_users.h"
#include "app/user_part.h"
#include "app/win32_text.h"
#include "win32/handles.h"
#include "win32/registry_key.h"

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
  RegistryKey key;
  const LONG error = key.Open(L"HKEY_LOCAL_MACHINE", kProfileListKey, KEY_READ);
  if (error != ERROR_SUCCESS) {
    reason = SystemMessage(static_cast<DWORD>(error));
    return false;
  }
  const auto expanded = [this](const std::wstring& text) {
    return text.empty() ? std::string() : platform_.ExpandEnvironment(Narrow(text));
  };
  // Windows XP names the Default User's folder inside the profiles' folder;
  // later versions give its whole path.
  const std::wstring directory = key.String(L"ProfilesDirectory", true);
  const std::wstring defaultUser = key.String(L"DefaultUserProfile", true);
  list.defaultUserFolder = !directory.empty() && !defaultUser.empty()
                               ? expanded(directory + L"\\" + defaultUser)
                               : expanded(key.String(L"Default", true));
  std::wstring name;
  for (DWORD i = 0;; ++i) {
    const LONG next = key.SubkeyName(i, name);
    if (next == ERROR_NO_MORE_ITEMS) break;
    if (next != ERROR_SUCCESS) continue;
    ProfileEntry entry;
    entry.sid = Narrow(name);
    RegistryKey profile;
    if (profile.OpenBelow(key, name.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS) {
      entry.folder = expanded(profile.String(L"ProfileImagePath", true));
      entry.roaming = !profile.String(L"CentralProfile", true).empty();
    }
    list.profiles.push_back(entry);
  }
  return true;
}

std::string Win32HiveHost::CurrentUser() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  const UniqueHandle tokenOwner(token);
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
  RegistryKey key;
  return key.Open(L"HKEY_USERS", Widen(sid).c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS;
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
  UnloadHive(Mount().c_str());
  const LONG error = LoadHive(Mount().c_str(), file.c_str());
  if (error == ERROR_SUCCESS) return true;
  reason = SystemMessage(static_cast<DWORD>(error));
  // Wine keeps the key it made for a file it could not read.
  UnloadHive(Mount().c_str());
  return false;
}

bool Win32HiveHost::HasMark(const std::string& mark) {
  RegistryKey key;
  return key.Open(L"HKEY_USERS", (Mount() + L"\\" + Widen(kMarkKey)).c_str(), KEY_QUERY_VALUE) ==
             ERROR_SUCCESS &&
         key.HasValue(Widen(mark).c_str());
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
  {
    RegistryKey key;
    if (key.Open(L"HKEY_USERS", Mount().c_str(), KEY_READ) == ERROR_SUCCESS) {
      // On the disk before the unload, as the start-up commands are.
      key.Flush();
      if (wine) {
        DeleteFileW(saved.c_str());
        saving = key.SaveAs(saved.c_str());
      }
    }
  }
  const LONG error = UnloadHive(Mount().c_str());
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
