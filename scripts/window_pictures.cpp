// kwetro-pictures FOLDER [pages|screen]: scripts/screenshots.sh runs it under
// Wine.
//
// pages (the default): opens the window, shows every page and sub-page in
// turn as a click on its tab does, points at the first option there so that
// the information line explains it, and saves a picture of the window for
// each as FOLDER\<page>-<sub-page>.bmp (numbered from 1; "<page>.bmp" for
// pages without sub-pages). Then a search for "автозапуск" gone to with
// Enter (search.bmp), the preview beside the window after a click on an
// option (preview.bmp, the window and the preview), and in a window of its
// own the marks of this computer (marks.bmp): the selection taken from it,
// then two options changed, the mouse on one of them.
//
// screen: the whole screen as the window opens on it (start.bmp), with the
// preview opened by F4 after a click on an option (preview.bmp), and a
// deployed copy counting down on its OK button (countdown.bmp).
// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include <cstdio>
#include <string>

#include "app/platform_win32.h"
#include "app/win32_text.h"
#include "ui/stored_layout.h"
#include "ui/win32_main_window.h"

namespace {

using namespace kwetro;

void Pump(Win32Platform& platform, DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    platform.ProcessMessages(10);
  } while (GetTickCount() - start < ms);
}

// The window as it is on the screen, as a 24-bit bitmap file.
bool SavePicture(RECT r, const std::wstring& path) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof info.bmiHeader, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
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

bool SaveWindowPicture(HWND hwnd, const std::wstring& path) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return SavePicture(r, path);
}

bool SaveScreenPicture(const std::wstring& path) {
  return SavePicture({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, path);
}

// A copy of the program in the deployment folder, which counts down.
class DeployedPlatform : public Win32Platform {
 public:
  std::string ModulePath() override { return ExpandEnvironment("%WINDIR%\\UPDKwetro\\Kwetro.exe"); }
};

// Opens a window of the layout and lets it activate.
bool Open(win32::MainWindow& window, Win32Platform& platform) {
  window.onEnd = [] {};
  if (!window.Create()) return false;
  SetCursorPos(0, 0);  // away from the window
  window.Show(SW_SHOWNORMAL);
  Pump(platform, 500);
  return true;
}

// Shows a page the way a click on its tab does.
void Select(win32::MainWindow& window, const char* control, int index) {
  HWND tabs = window.Window(control);
  SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR header = {tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), TCN_SELCHANGE};
  SendMessageW(GetParent(tabs), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// The preview opened after a click on an option, the mouse on it so that
// the information line explains it.
void OpenPreviewAfterAClick(win32::MainWindow& window, Win32Platform& platform) {
  Select(window, "PageControl2", 1);
  PostMessageW(window.Window("sCheckBox_2_2"), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  SendMessageW(window.Window("sCheckBox_2_2"), BM_CLICK, 0, 0);
  Pump(platform, 100);
  window.OpenPreview();
  Pump(platform, 400);
}

int MarksPicture(const Layout& layout, const std::wstring& folder) {
  Selection selection;
  Win32Platform platform;
  win32::MainWindow window(layout, selection, platform);
  if (!Open(window, platform)) return 1;
  window.onQuestion = [](const std::wstring&) { return true; };
  window.TakeFromMachine();
  Select(window, "PageControl2", 1);
  for (const char* name : {"sCheckBox_2_3", "sCheckBox_2_7"})
    SendMessageW(window.Window(name), BM_CLICK, 0, 0);
  PostMessageW(window.Window("sCheckBox_2_3"), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  Pump(platform, 400);
  return SaveWindowPicture(window.Handle(), folder + L"\\marks.bmp") ? 0 : 1;
}

int ScreenPictures(const Layout& layout, const std::wstring& folder) {
  {
    Selection selection;
    Win32Platform platform;
    win32::MainWindow window(layout, selection, platform);
    if (!Open(window, platform) || !SaveScreenPicture(folder + L"\\start.bmp")) return 1;
    OpenPreviewAfterAClick(window, platform);
    if (!SaveScreenPicture(folder + L"\\preview.bmp")) return 1;
  }
  Selection selection;
  DeployedPlatform platform;
  win32::MainWindow window(layout, selection, platform);
  if (!Open(window, platform)) return 1;
  Pump(platform, 2200);  // a few ticks of the countdown
  return SaveScreenPicture(folder + L"\\countdown.bmp") ? 0 : 1;
}

// A search's hit, then the preview beside the window, where it opens.
int SearchAndPreviewPictures(win32::MainWindow& window, Win32Platform& platform,
                             const std::wstring& folder) {
  SetWindowTextW(window.Search().Field(), L"автозапуск");
  window.Search().Next(true, false);
  Pump(platform, 300);
  if (!SaveWindowPicture(window.Handle(), folder + L"\\search.bmp")) return 1;
  window.Search().Clear();
  OpenPreviewAfterAClick(window, platform);
  RECT both, preview;
  GetWindowRect(window.Handle(), &both);
  GetWindowRect(window.FilePreview().Handle(), &preview);
  UnionRect(&both, &both, &preview);
  return SavePicture(both, folder + L"\\preview.bmp") ? 0 : 1;
}

int PagePictures(const Layout& layout, const std::wstring& folder) {
  Selection selection;
  Win32Platform platform;
  win32::MainWindow window(layout, selection, platform);
  if (!Open(window, platform)) return 1;

  auto take = [&](const std::string& name) {
    // The first option or list shown, as a user pointing at it.
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
      const Bound bound = layout.items[i].bound;
      HWND hwnd = window.Natives()[i].hwnd;
      if ((bound != Bound::kOption && bound != Bound::kServicesList) || !IsWindowVisible(hwnd))
        continue;
      PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
      break;
    }
    Pump(platform, 300);
    const std::wstring path = folder + L"\\" + Widen(name) + L".bmp";
    if (!SaveWindowPicture(window.Handle(), path)) return false;
    printf("%s\n", Narrow(path).c_str());
    return true;
  };
  auto select = [&](const char* control, int index) { Select(window, control, index); };
  auto count = [&](const char* control) {
    return static_cast<int>(SendMessageW(window.Window(control), TCM_GETITEMCOUNT, 0, 0));
  };
  for (int page = 0; page < count("PageControl1"); ++page) {
    select("PageControl1", page);
    const char* sub = page == 0 ? "PageControl2" : page == 1 ? "PageControl3" : nullptr;
    const std::string number = std::to_string(page + 1);
    if (!sub) {
      if (!take(number)) return 1;
      continue;
    }
    for (int s = 0; s < count(sub); ++s) {
      select(sub, s);
      if (!take(number + "-" + std::to_string(s + 1))) return 1;
    }
  }

  select("PageControl1", 0);
  select("PageControl2", 0);
  return SearchAndPreviewPictures(window, platform, folder);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc == 3 ? argv[2] : L"pages";
  if ((argc != 2 && argc != 3) || (mode != L"pages" && mode != L"screen")) {
    fprintf(stderr, "usage: kwetro-pictures FOLDER [pages|screen]\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  Layout layout;
  std::string error;
  if (!LoadFormResource(StoredLayout(), layout, error)) {
    fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  if (mode == L"screen") return ScreenPictures(layout, folder);
  if (PagePictures(layout, folder)) return 1;
  return MarksPicture(layout, folder);
}
