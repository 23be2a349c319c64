// Drives the real main window through messages, as the system delivers a
// user's clicks and keys, in a folder of its own.
#pragma once

// clang-format off
#include <windows.h>  // before every other Windows header
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "app/platform_win32.h"
#include "app/win32_text.h"
#include "ui/stored_layout.h"
#include "ui/win32_main_window.h"

namespace kwetro::testing {

// The real platform, except where the program file lies, its tones and
// the folders it would open.
class TestPlatform : public Win32Platform {
 public:
  std::string modulePath;
  int beeps = 0;
  std::string ModulePath() override { return modulePath; }
  void Beep(unsigned, unsigned) override { ++beeps; }
  bool OpenFolder(const std::string&, HWND) override { return true; }
};

// The system's temporary folder, or the folder the tests started in where
// the user's TEMP names none (a selection imported under Wine may point it
// at the folder Windows XP has for it).
inline const std::filesystem::path& TempRoot() {
  static const std::filesystem::path root = [] {
    std::error_code none;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(none);
    return none ? std::filesystem::current_path() : temp;
  }();
  return root;
}

// A fresh folder under the temporary folder, and its removal.
inline std::string NewFolder(const std::string& name) {
  static int counter = 0;
  const std::filesystem::path folder =
      TempRoot() / ("kwetro-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(counter++) + "-" + name);
  std::filesystem::create_directory(folder);
  return folder.string();
}

inline void RemoveFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

inline std::string ReadFile(const std::string& path) {
  std::string bytes, reason;
  EXPECT_TRUE(ReadWholeFile(path, bytes, reason)) << path << ": " << reason;
  return bytes;
}

using win32::TextOf;

// UTF-8 literal to the text a window shows.
inline std::wstring W(const char* utf8) { return Widen(utf8); }

// Runs a program and waits for it; its exit code.
inline DWORD RunProgram(const std::string& commandLine) {
  std::wstring line = Widen(commandLine);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process))
    return GetLastError() | 0x80000000u;
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

inline RECT ScreenRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

// kwetro-cli.exe of the same build, one folder above this test program.
inline std::string CliPath() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring self = path;
  return Narrow(self.substr(0, self.find_last_of(L'\\'))) + "\\..\\kwetro-cli.exe";
}

class WindowTest : public ::testing::Test {
 protected:
  // The program file's folder; the program starts with it as current folder.
  void SetUp() override {
    folder_ = NewFolder("program");
    folders_.push_back(folder_);
    platform_.modulePath = folder_ + "\\Kwetro.exe";
    std::filesystem::current_path(folder_);
  }

  void TearDown() override {
    window_.reset();
    Pump(20);
    if (screen_) SystemParametersInfoW(SPI_SETWORKAREA, 0, &*screen_, 0);
    // A folder in use cannot be removed.
    std::filesystem::current_path(TempRoot());
    for (const std::string& folder : folders_) RemoveFolder(folder);
  }

  // Builds and shows the window of the stored layout (changed by edit, when
  // given), in place of any before it, and lets it activate.
  void Open(const std::function<void(Layout&)>& edit = nullptr) {
    window_.reset();
    platform_.beeps = 0;
    std::string error;
    ASSERT_TRUE(LoadFormResource(StoredLayout(), layout_, error)) << error;
    if (edit) edit(layout_);
    window_ = std::make_unique<win32::MainWindow>(layout_, selection_, platform_);
    window_->onEnd = [this] { ++ended_; };
    window_->onError = [this](const std::wstring& text) { errors_.push_back(text); };
    // «Применить изменения?» is answered with choice_ (Нет unless a test
    // says otherwise), and every question is kept.
    window_->onChoice = [this](const std::wstring& question) {
      choices_.push_back(question);
      return choice_;
    };
    ASSERT_TRUE(window_->Create());
    window_->Show(SW_SHOWNORMAL);
    // Activation comes when Wine's display gets round to it: a second or more
    // on a loaded machine, so it is waited for, not given a fixed time.
    Pump(100);
    for (int i = 0; i < 100 && platform_.beeps < 3; ++i) Pump(50);
    ASSERT_EQ(platform_.beeps, 3) << "the window was not activated";
  }

  // Opens the window as on a screen of that size with a taskbar of Windows
  // XP's height at its bottom: the work area of this process is set to the
  // rest (the screen of the test is larger).
  void OpenOnScreen(int width, int height) {
    if (!screen_) {
      RECT work;
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      screen_ = work;
    }
    RECT work = {0, 0, width, height - kTaskbarHeight};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0));
    Open();
  }
  static constexpr int kTaskbarHeight = 30;

  // A deployed copy: the program in the deployment folder with a settings
  // file that counts down from timer.
  void Deploy(int timer) {
    const std::string deployment = Win32Platform().ExpandEnvironment("%WINDIR%\\UPDKwetro");
    folders_.push_back(deployment);
    RemoveFolder(deployment);
    CreateDirectoryW(Widen(deployment).c_str(), nullptr);
    std::string reason;
    ASSERT_TRUE(WriteFileAtomically(deployment + "\\Kwetro.ini",
                                    "[Start]\r\nTimer=" + std::to_string(timer) + "\r\n", reason));
    platform_.modulePath = deployment + "\\Kwetro.exe";
  }
  // Waits for the countdown's first tick on the OK button.
  std::wstring Countdown() {
    for (int i = 0; i < 50 && TextOf(window_->OkButton()) == W("&Применить"); ++i) Pump(100);
    return TextOf(window_->OkButton());
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
  // A label or image: painted by the window that holds it.
  const win32::NativeControl& Graphic(const char* name) {
    const win32::NativeControl* n = window_->Find(name);
    static const win32::NativeControl none;
    EXPECT_TRUE(n && n->IsGraphic() && !n->hwnd) << name;
    return n ? *n : none;
  }
  HWND HolderOf(const char* name) {
    return window_
        ->Natives()[static_cast<std::size_t>(
            layout_.items[static_cast<std::size_t>(layout_.Named(name))].parent)]
        .container;
  }

  TriState State(const char* name) { return selection_.State(OptionIndex(name)); }
  std::wstring Caption(const char* name) { return Widen(selection_.Caption(OptionIndex(name))); }

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
  // Clicks an option until it reaches the state.
  void ClickUntil(const char* name, TriState state) {
    for (int i = 0; i < 3 && State(name) != state; ++i) Click(name);
    ASSERT_EQ(State(name), state) << name;
  }

  // A key pressed and released, with Ctrl or Shift held when asked.
  void Key(HWND hwnd, WPARAM key, bool ctrl = false, bool shift = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(key), 0)) << 16;
    PostMessageW(hwnd, WM_KEYDOWN, key, 1 | scan);
    PostMessageW(hwnd, WM_KEYUP, key, 1 | scan | (3u << 30));
    Pump(30);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
  }

  // Keys as the keyboard sends them, to whatever has the focus: the window
  // comes to the front first. Letters and blanks of the Latin layout.
  void Press(WORD key, bool ctrl = false, bool shift = false) {
    SetForegroundWindow(window_->Handle());
    std::vector<INPUT> keys;
    auto add = [&keys](WORD vk, bool up) {
      INPUT in = {};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = vk;
      in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
      in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      keys.push_back(in);
    };
    if (ctrl) add(VK_CONTROL, false);
    if (shift) add(VK_SHIFT, false);
    add(key, false);
    add(key, true);
    if (shift) add(VK_SHIFT, true);
    if (ctrl) add(VK_CONTROL, true);
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    Pump(40);
  }
  void Type(const char* text) {
    for (; *text; ++text) {
      const SHORT vk = VkKeyScanW(static_cast<wchar_t>(*text));
      Press(LOBYTE(vk), false, (HIBYTE(vk) & 1) != 0);
    }
  }

  void MouseOver(HWND hwnd, int x = 3, int y = 3) {
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    Pump(30);
  }
  // The mouse over the middle of a label or image.
  void MouseOverGraphic(const char* name) {
    const RECT& r = Graphic(name).bounds;
    MouseOver(HolderOf(name), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  // The folder kwetro-cli wrote the scripts of the settings file given into.
  std::string CliScripts(const std::string& settings) {
    const std::string out = NewFolder("cli");
    folders_.push_back(out);
    EXPECT_EQ(RunProgram("\"" + CliPath() + "\" generate --settings \"" + settings + "\" --out \"" +
                         out + "\""),
              0u);
    return out;
  }
  // Apply's scripts in the program's folder are what kwetro-cli writes.
  void ExpectScriptsAsTheCliWrites(const std::string& settings) {
    const std::string out = CliScripts(settings);
    for (const char* file : {"\\hkcu.reg", "\\hklm.reg"})
      EXPECT_TRUE(ReadFile(folder_ + file) == ReadFile(out + file)) << file;
  }

  // Opens the window again, as a new start of the program does.
  void Reopen() {
    selection_ = Selection();
    Open();
  }

  // Shows a page of a tab control by clicking its tab.
  void SelectPage(const char* pageControl, int index) {
    HWND tabs = Control(pageControl);
    RECT tab;
    ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(&tab)));
    ClickAt(tabs, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ASSERT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), index);
  }

  std::string folder_;
  std::vector<std::string> folders_;
  TestPlatform platform_;
  Layout layout_;
  Selection selection_;
  std::unique_ptr<win32::MainWindow> window_;
  int ended_ = 0;
  std::vector<std::wstring> errors_;
  std::vector<std::wstring> choices_;
  int choice_ = IDNO;
  std::optional<RECT> screen_;  // the work area before OpenOnScreen
};

}  // namespace kwetro::testing
