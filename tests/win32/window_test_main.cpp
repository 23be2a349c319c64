// The window test program. Without arguments it runs the tests; with
// "--screenshots FOLDER" it opens the window, shows every page and sub-page
// in turn, points at the first option there so that the information line
// explains it, and saves a picture of the window for each as
// FOLDER\<page>-<sub-page>.bmp (numbered from 1; "<page>.bmp" for pages
// without sub-pages).
// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/platform_win32.h"
#include "app/win32_text.h"
#include "ui/form_loader.h"
#include "ui/win32_main_window.h"

namespace kwetro::testing {
namespace {

void Pump(Win32Platform& platform, DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    platform.ProcessMessages(10);
  } while (GetTickCount() - start < ms);
}

// The window as it is on the screen, as a 24-bit bitmap file.
bool SaveWindowPicture(HWND hwnd, const std::wstring& path) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + stride * static_cast<DWORD>(height);
  bool ok = false;
  if (FILE* out = _wfopen(path.c_str(), L"wb")) {
    ok = fwrite(&file, sizeof file, 1, out) == 1 &&
         fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
         fwrite(bits, stride * static_cast<DWORD>(height), 1, out) == 1;
    ok = fclose(out) == 0 && ok;
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

int TakeScreenshots(const std::wstring& folder) {
  Form form;
  std::string error;
  if (!LoadFormResource(StoredFormDescription(), form, error)) {
    fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  Win32Platform platform;
  win32::MainWindow window(form, platform);
  window.onEnd = [] {};
  if (!window.Create()) return 1;
  SetCursorPos(0, 0);  // away from the window
  window.Show(SW_SHOWNORMAL);
  Pump(platform, 500);

  // The first option of the page shown, as a user pointing at it.
  auto pointAtFirstOption = [&] {
    for (std::size_t i = 0; i < form.components.size(); ++i) {
      const Component& c = form.components[i];
      if (c.kind != ControlKind::kOption && c.kind != ControlKind::kCheckList) continue;
      HWND hwnd = window.Natives()[i].hwnd;
      if (!IsWindowVisible(hwnd)) continue;
      PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
      return;
    }
  };
  auto take = [&](const std::string& name) {
    pointAtFirstOption();
    Pump(platform, 300);
    const std::wstring path = folder + L"\\" + Widen(name) + L".bmp";
    if (!SaveWindowPicture(window.Handle(), path)) return false;
    printf("%s\n", Narrow(path).c_str());
    return true;
  };
  // Shows a page the way a click on its tab does.
  auto select = [&](const char* control, int index) {
    HWND tabs = window.Window(control);
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR header = {tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), TCN_SELCHANGE};
    SendMessageW(GetParent(tabs), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  };
  auto pageNames = [&](const char* control) {
    std::vector<std::string> names;
    int parent = -1;
    for (std::size_t i = 0; i < form.components.size(); ++i)
      if (form.components[i].name == control) parent = static_cast<int>(i);
    for (const Component& c : form.components)
      if (c.parent == parent && c.className == "TTabSheet") names.push_back(c.name);
    return names;
  };

  const std::vector<std::string> mainPages = pageNames("PageControl1");
  for (std::size_t page = 0; page < mainPages.size(); ++page) {
    select("PageControl1", static_cast<int>(page));
    const char* sub = page == 0 ? "PageControl2" : page == 1 ? "PageControl3" : nullptr;
    const std::string number = std::to_string(page + 1);
    if (!sub || !window.Window(sub)) {
      if (!take(number)) return 1;
      continue;
    }
    const std::vector<std::string> subPages = pageNames(sub);
    for (std::size_t s = 0; s < subPages.size(); ++s) {
      select(sub, static_cast<int>(s));
      if (!take(number + "-" + std::to_string(s + 1))) return 1;
    }
  }
  return 0;
}

}  // namespace
}  // namespace kwetro::testing

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"--screenshots")
    return kwetro::testing::TakeScreenshots(argv[2]);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
