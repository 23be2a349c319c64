// The yardstick for Kwetro.exe's start-up: the least a Win32 program does to
// show a window (register a class, create the window, show it, run the message
// loop), built with the same toolchain and link options as Kwetro.exe.
// scripts/measure-window.sh starts both the same way and compares.
//
// Built a second time as minimal_common_controls.exe: the same window with the
// visual-style common controls (Kwetro's manifest) and one tab strip, the least
// any program with Kwetro's look pays before its window shows.
#include <windows.h>
#ifdef KWETRO_COMMON_CONTROLS
#include <commctrl.h>
#endif

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"KwetroMinimalWindow";
  if (!RegisterClassW(&windowClass)) return 1;

  HWND window =
      CreateWindowExW(0, windowClass.lpszClassName, L"Minimal window", WS_OVERLAPPEDWINDOW,
                      CW_USEDEFAULT, CW_USEDEFAULT, 820, 640, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
#ifdef KWETRO_COMMON_CONTROLS
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  if (!InitCommonControlsEx(&classes)) return 1;
  CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 8, 8, 790, 580, window, nullptr,
                  instance, nullptr);
#endif
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
