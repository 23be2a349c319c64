// The Win32 platform services where they do more than pass a call on.
#include "app/platform_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "app/win32_system_files.h"
#include "app/win32_text.h"

namespace kwetro {
namespace {

TEST(Win32Platform, ExpansionIsCompleteHoweverLongAndKeepsUnknownNamesAndRussianText) {
  // Far beyond the 4 KB buffer of old, within the system's 32 K limit.
  const std::string value(12000, 'x');
  SetEnvironmentVariableW(L"KWETRO_LONG", Widen(value).c_str());
  SetEnvironmentVariableW(L"KWETRO_FOLDER", Widen("C:\\Программы").c_str());
  Win32Platform platform;
  const std::string expanded = platform.ExpandEnvironment("<%KWETRO_LONG%\\%KWETRO_LONG%>");
  EXPECT_EQ(expanded.size(), 2 * value.size() + 3);
  EXPECT_TRUE(expanded == "<" + value + "\\" + value + ">");
  EXPECT_EQ(platform.ExpandEnvironment("%KWETRO_FOLDER%\\%KWETRO_NOT_SET%"),
            "C:\\Программы\\%KWETRO_NOT_SET%");
  EXPECT_EQ(platform.ExpandEnvironment(""), "");
  SetEnvironmentVariableW(L"KWETRO_LONG", nullptr);
  SetEnvironmentVariableW(L"KWETRO_FOLDER", nullptr);
}

// The shell is loaded only when a folder is to be opened; a folder that is
// not there is refused, not reported as opened.
TEST(Win32Platform, OpeningAMissingFolderFails) {
  Win32Platform platform;
  EXPECT_FALSE(platform.OpenFolder("C:\\no such folder\\kwetro", nullptr));
  EXPECT_TRUE(GetModuleHandleW(L"shell32.dll")) << "the shell was not asked";
}

TEST(Win32Platform, ProcessingMessagesLeavesTheEndForTheMainLoop) {
  Win32Platform platform;
  int seen = 0;
  platform.preTranslate = [&seen](MSG&) {
    ++seen;
    return true;
  };
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 7, 0, 0);
  PostQuitMessage(3);
  platform.ProcessMessages();
  EXPECT_EQ(seen, 1);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}

// A library comes from the system folder by its full path: one of the same
// name beside the program is never loaded in its place, and a name that
// points anywhere else is refused.
TEST(SystemLibraries, ComeFromTheSystemFolderAlone) {
  HMODULE planted = LoadLibraryW(L"kwetro_planted.dll");
  ASSERT_TRUE(planted) << "kwetro_planted.dll should lie beside the test program";
  FreeLibrary(planted);
  EXPECT_EQ(LoadSystemLibrary(L"kwetro_planted.dll"), nullptr);

  HMODULE theme = LoadSystemLibrary(L"uxtheme.dll");
  ASSERT_TRUE(theme);
  wchar_t loaded[MAX_PATH] = {};
  GetModuleFileNameW(theme, loaded, MAX_PATH);
  EXPECT_EQ(CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, loaded, -1,
                           SystemFilePath(L"uxtheme.dll").c_str(), -1),
            CSTR_EQUAL);

  for (const wchar_t* name : {L"", L"..\\uxtheme.dll", L"x/uxtheme.dll", L"C:uxtheme.dll",
                              L"C:\\windows\\system32\\uxtheme.dll"}) {
    EXPECT_EQ(SystemFilePath(name), L"") << Narrow(name);
    EXPECT_EQ(LoadSystemLibrary(name), nullptr) << Narrow(name);
  }
}

}  // namespace
}  // namespace kwetro
