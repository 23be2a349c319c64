#include "app/platform_win32.h"

#include "win32/handles.h"
#include "win32/registry_key.h"
#include "app/win32_system_files.h"
#include "app/win32_text.h"

namespace kwetro {
namespace {

const wchar_t kRunOnceKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// Calls fill(buffer, size) until the buffer is large enough; fill returns
// the length it needs (with or without the terminating zero, as the Win32
// call at hand does) or 0 on failure.
template <typename Fill>
std::wstring GrowingCall(Fill fill) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 16; ++attempt) {
    const DWORD needed = fill(&buffer[0], static_cast<DWORD>(buffer.size()));
    if (needed == 0) return {};
    if (needed < buffer.size()) {
      buffer.resize(wcslen(buffer.c_str()));
      return buffer;
    }
    buffer.assign(static_cast<std::size_t>(needed) + 1, L'\0');
  }
  return {};
}

}  // namespace

std::string Win32Platform::ExpandEnvironment(const std::string& text) {
  const std::wstring source = Widen(text);
  // The result may be longer than any fixed buffer: ask again with the size
  // the system reports.
  const std::wstring expanded = GrowingCall([&source](wchar_t* buffer, DWORD size) {
    return ExpandEnvironmentStringsW(source.c_str(), buffer, size);
  });
  return expanded.empty() && !source.empty() ? text : Narrow(expanded);
}

std::uint32_t Win32Platform::TickCount() { return GetTickCount(); }

void Win32Platform::Beep(unsigned frequencyHz, unsigned durationMs) {
  ::Beep(frequencyHz, durationMs);
}

bool Win32Platform::StartHiddenBatch(const std::string& directory, const std::string& fileName) {
  const std::wstring interpreter = SystemFilePath(L"cmd.exe");
  if (interpreter.empty()) return false;
  std::wstring commandLine = L"cmd.exe /c \"" + Widen(fileName) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(interpreter.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE, nullptr, Widen(directory).c_str(), &startup, &process))
    return false;
  // Not waited for: the batch file outlives the program.
  const UniqueHandle thread(process.hThread), started(process.hProcess);
  return true;
}

bool Win32Platform::WriteStartupCommands(const std::vector<StartupCommand>& commands) {
  RegistryKey key;
  // Opened, never created: a system without the key gets no commands.
  if (key.Open(L"HKEY_LOCAL_MACHINE", kRunOnceKey, KEY_SET_VALUE) != ERROR_SUCCESS) return false;
  for (const StartupCommand& command : commands)
    key.SetString(Widen(command.name).c_str(), Widen(command.data));
  // On disk before the program removes itself: the next logon depends on it.
  key.Flush();
  return true;
}

std::string Win32Platform::MachineString(const std::string& key, const std::string& name) {
  RegistryKey opened;
  if (opened.Open(L"HKEY_LOCAL_MACHINE", Widen(key).c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
    return {};
  // REG_SZ only: an expandable string is not what a deployment stored.
  return Narrow(opened.String(Widen(name).c_str(), false));
}

bool Win32Platform::IsNtFamily() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void Win32Platform::TrimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

std::string Win32Platform::ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    // A full buffer means the path may have been cut.
    if (n < path.size()) {
      path.resize(n);
      return Narrow(path);
    }
    path.assign(path.size() * 2, L'\0');
  }
  return {};
}

std::string Win32Platform::CurrentDirectory() {
  return Narrow(
      GrowingCall([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); }));
}

std::string Win32Platform::ShortPath(const std::string& path) {
  const std::wstring wide = Widen(path);
  const std::wstring shortPath = GrowingCall([&wide](wchar_t* buffer, DWORD size) {
    return GetShortPathNameW(wide.c_str(), buffer, size);
  });
  return shortPath.empty() ? path : Narrow(shortPath);
}

void Win32Platform::Dispatch(MSG& msg) {
  if (preTranslate && preTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool Win32Platform::OpenFolder(const std::string& folder, HWND owner) {
  // The shell is loaded for this only: linked, it and the libraries it brings
  // along would be loaded at every start, before the window shows.
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  HMODULE shell = LoadSystemLibrary(L"shell32.dll");
  if (!shell) return false;
  const auto open = reinterpret_cast<ShellExecuteFn>(
      reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteW")));
  return open && reinterpret_cast<INT_PTR>(open(owner, L"open", Widen(folder).c_str(), nullptr,
                                                nullptr, SW_SHOWNORMAL)) > 32;
}

void Win32Platform::ProcessMessages(unsigned maxWaitMs) {
  if (maxWaitMs > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, maxWaitMs, QS_ALLINPUT);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave it for the main loop, which is the one that ends.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

int Win32Platform::RunMessageLoop() {
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    Dispatch(msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace kwetro
