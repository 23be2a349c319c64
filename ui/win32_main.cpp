// Kwetro.exe: the window around the engine.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/all_users.h"
#include "app/platform_win32.h"
#include "app/profile_hives_win32.h"
#include "app/win32_text.h"
#include "ui/stored_layout.h"
#include "ui/win32_main_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int showCommand) {
  // The administrator step of a deployment for every user, without a window.
  std::wstring arguments = commandLine ? commandLine : L"";
  while (!arguments.empty() && arguments.back() == L' ') arguments.pop_back();
  if (arguments == kwetro::Widen(kwetro::kProfilesSwitch)) {
    kwetro::Win32HiveHost host;
    return kwetro::RunProfilesStep(host, kwetro::Win32Platform().ModulePath());
  }
  kwetro::Layout layout;
  std::string error;
  if (!kwetro::LoadFormResource(kwetro::StoredLayout(), layout, error)) {
    MessageBoxW(nullptr, kwetro::Widen(error).c_str(), L"Kwetro", MB_OK | MB_ICONERROR);
    return 1;
  }
  kwetro::Selection selection;
  kwetro::Win32Platform platform;
  kwetro::win32::MainWindow window(layout, selection, platform);
  if (!window.Create()) {
    MessageBoxW(nullptr, kwetro::Widen(kwetro::SystemMessage(GetLastError())).c_str(), L"Kwetro",
                MB_OK | MB_ICONERROR);
    return 1;
  }
  window.Show(showCommand);
  return platform.RunMessageLoop();
}

// The library's default reaction to an uncaught exception prints its
// demangled type, which links a C++ name demangler of about 50 KB into the
// program; a window program has no console to print to anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
