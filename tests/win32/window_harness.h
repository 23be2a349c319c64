// Drives the real main window through messages, as the system delivers a
// user's clicks and keys, in a folder of its own.
#pragma once

// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "app/platform_win32.h"
#include "app/win32_text.h"
#include "options/text_encoding.h"
#include "ui/form_loader.h"
#include "ui/win32_main_window.h"

namespace kwetro::testing {

// The real platform, except where the program file lies and its tones.
class TestPlatform : public Win32Platform {
 public:
  std::string modulePath;
  int beeps = 0;
  std::vector<std::string> openedFolders;
  // Runs each time messages are handled, also inside the window's own waits.
  std::function<void()> onMessages;
  std::string ModulePath() override { return modulePath; }
  void Beep(unsigned, unsigned) override { ++beeps; }
  bool OpenFolder(const std::string& folder, HWND) override {
    openedFolders.push_back(folder);
    return true;
  }
  void ProcessMessages(unsigned maxWaitMs) override {
    Win32Platform::ProcessMessages(maxWaitMs);
    if (onMessages) onMessages();
  }
};

// A fresh folder under the system's temporary folder.
inline std::string NewFolder(const std::string& name) {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string folder = Narrow(temp) + "kwetro-" + std::to_string(GetCurrentProcessId()) +
                             "-" + std::to_string(counter++) + "-" + name;
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  return folder;
}

inline void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Widen(folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::string path = folder + "\\" + Narrow(name);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveFolder(path);
      else
        DeleteFileW(Widen(path).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(Widen(folder).c_str());
}

inline std::string ReadFile(const std::string& path) {
  std::string bytes, reason;
  EXPECT_TRUE(ReadWholeFile(path, bytes, reason)) << path << ": " << reason;
  return bytes;
}

// Files compared byte for byte; a difference is reported by its first line.
inline ::testing::AssertionResult SameBytes(const std::string& actual,
                                            const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  const std::size_t line = actual.rfind('\n', at == 0 ? 0 : at - 1);
  const std::size_t from = line == std::string::npos ? 0 : line + 1;
  auto excerpt = [from](const std::string& bytes) {
    const std::size_t end = bytes.find('\n', from);
    return Cp1251ToUtf8(
        bytes.substr(from, end == std::string::npos ? std::string::npos : end - from));
  };
  return ::testing::AssertionFailure()
         << "sizes " << actual.size() << " and " << expected.size() << ", first difference at byte "
         << at << ":\n  " << excerpt(actual) << "\n  " << excerpt(expected);
}

inline std::wstring TextOf(HWND hwnd) {
  wchar_t text[2048] = {};
  GetWindowTextW(hwnd, text, 2048);
  return text;
}

// UTF-8 literal to the text a window shows.
inline std::wstring W(const char* utf8) { return Widen(utf8); }

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { UseProgramFolder(NewFolder("program")); }

  void TearDown() override {
    window_.reset();
    Pump(20);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    SetCurrentDirectoryW(temp);  // a folder in use cannot be removed
    for (const std::string& folder : folders_) RemoveFolder(folder);
  }

  // The program file's folder; the program starts with it as current folder.
  void UseProgramFolder(const std::string& folder) {
    folder_ = folder;
    folders_.push_back(folder);
    platform_.modulePath = folder_ + "\\Kwetro.exe";
    SetCurrentDirectoryW(Widen(folder_).c_str());
  }

  // Builds and shows the window, and lets it activate.
  // Opens the window of the stored description, changed by edit if given.
  void Open(const std::function<void(Form&)>& edit = nullptr) {
    std::string error;
    ASSERT_TRUE(LoadFormResource(StoredFormDescription(), form_, error)) << error;
    if (edit) edit(form_);
    window_ = std::make_unique<win32::MainWindow>(form_, platform_);
    window_->onEnd = [this] { ++ended_; };
    window_->onError = [this](const std::wstring& text) { errors_.push_back(text); };
    ASSERT_TRUE(window_->Create());
    window_->Show(SW_SHOWNORMAL);
    Pump(100);
    ASSERT_EQ(platform_.beeps, 3) << "the window was not activated";
  }

  // Handles the window's messages for about ms milliseconds.
  void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
      platform_.ProcessMessages(5);
    } while (GetTickCount() - start < ms);
  }

  HWND Control(const char* name) {
    HWND hwnd = window_->Window(name);
    EXPECT_TRUE(hwnd) << name;
    return hwnd;
  }

  int Option(const char* name) { return OptionIndex(name); }
  TriState State(const char* name) { return form_.State(Option(name)); }
  std::wstring Caption(const char* name) { return win32::Wide(form_.Option(Option(name)).caption); }

  // A left click at a point of a control, through the message queue.
  void ClickAt(HWND hwnd, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
    Pump(30);
  }
  void Click(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    ClickAt(hwnd, 6, rc.bottom / 2);
  }
  void Click(const char* name) { Click(Control(name)); }

  void Key(HWND hwnd, WPARAM key, LPARAM scan = 0) {
    PostMessageW(hwnd, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(hwnd, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
    Pump(30);
  }

  void MouseOver(HWND hwnd, int x = 3, int y = 3) {
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    Pump(30);
  }

  // Shows a page of a page control by clicking its tab.
  void SelectPage(const char* pageControl, int index) {
    HWND tabs = Control(pageControl);
    RECT tab;
    ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(&tab)));
    ClickAt(tabs, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ASSERT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), index);
  }

  // Clicks an option until it reaches the state.
  void ClickUntil(const char* name, TriState state) {
    for (int i = 0; i < 3 && State(name) != state; ++i) Click(name);
    ASSERT_EQ(State(name), state) << name;
  }

  // A label or image (painted by the window that holds it).
  const win32::NativeControl& Graphic(const char* name) {
    static const win32::NativeControl none;
    const win32::NativeControl* n = window_->Find(name);
    EXPECT_TRUE(n && n->IsGraphic() && !n->hwnd) << name;
    return n ? *n : none;
  }
  HWND HolderOf(const char* name) {
    return window_->Natives()[static_cast<std::size_t>(
                                  form_.components[static_cast<std::size_t>(IndexOf(name))].parent)]
        .container;
  }
  int IndexOf(const char* name) {
    for (std::size_t i = 0; i < form_.components.size(); ++i)
      if (form_.components[i].name == name) return static_cast<int>(i);
    ADD_FAILURE() << name;
    return 0;
  }
  // The mouse over the middle of a label or image.
  void MouseOverGraphic(const char* name) {
    const RECT& r = Graphic(name).bounds;
    MouseOver(HolderOf(name), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  std::string folder_;
  std::vector<std::string> folders_;
  TestPlatform platform_;
  Form form_;
  std::unique_ptr<win32::MainWindow> window_;
  int ended_ = 0;
  std::vector<std::wstring> errors_;
};

}  // namespace kwetro::testing
