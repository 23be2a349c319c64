// Runs the StubPath of Active Setup entry NAME as Windows does at a logon for
// a user who lacks its mark (Wine runs no Active Setup), in an environment
// with the variables given, as another user's profile would have them. The
// mark is not written.
//
//   active_setup_run.exe NAME [VARIABLE=VALUE...]
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: active_setup_run.exe NAME [VARIABLE=VALUE...]\n", stderr);
    return 2;
  }
  const std::wstring key =
      std::wstring(L"SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\") + argv[1];
  HKEY handle = nullptr;
  wchar_t command[8192] = {};
  DWORD size = sizeof command - sizeof(wchar_t), type = 0;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != 0 ||
      RegQueryValueExW(handle, L"StubPath", nullptr, &type, reinterpret_cast<BYTE*>(command),
                       &size) != 0 ||
      type != REG_SZ) {
    std::fputs("no StubPath of type REG_SZ in the entry\n", stderr);
    return 3;
  }
  RegCloseKey(handle);
  for (int i = 2; i < argc; ++i) {
    std::wstring setting = argv[i];
    const std::size_t equals = setting.find(L'=');
    if (equals == std::wstring::npos) return 2;
    SetEnvironmentVariableW(setting.substr(0, equals).c_str(), setting.c_str() + equals + 1);
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "the command did not start (error %lu)\n", GetLastError());
    return 4;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}
