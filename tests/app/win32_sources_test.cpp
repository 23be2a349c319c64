// Two rules of the Windows code that no compiler checks, read from the
// Windows sources: a library is loaded only from the system folder,
// through its one loader, and a handle is closed only by its owner.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/files.h"

namespace kwetro::testing {
namespace {

TEST(Win32Sources, LoadLibrariesAndCloseHandlesInOnePlaceEach) {
  // The call, and the one file that may make it.
  const std::map<std::string, std::string> only = {
      {"LoadLibrary", "app/win32_system_files.cpp"}, {"CloseHandle(", "win32/handles.h"},
      {"RegCloseKey(", "win32/handles.h"},       {"ReleaseDC(", "win32/handles.h"},
      {"SelectObject(", "win32/handles.h"},      {"DeleteObject(", "win32/handles.h"},
      {"DeleteDC(", "win32/handles.h"},
  };
  std::map<std::string, int> seen;
  for (const char* folder : {"app", "machine", "ui", "win32"})
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SourcePath(folder))) {
      const std::string name =
          std::filesystem::relative(entry.path(), SourcePath("")).generic_string();
      if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
      const std::string text = ReadBytes(entry.path());
      for (const auto& [call, owner] : only)
        if (text.find(call) != std::string::npos) {
          ++seen[call];
          EXPECT_EQ(name, owner) << call << " outside its owner";
        }
    }
  for (const auto& [call, owner] : only) EXPECT_EQ(seen[call], 1) << call << " in " << owner;
}

}  // namespace
}  // namespace kwetro::testing
