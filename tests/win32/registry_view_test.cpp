// Which registry our Windows programs reach under HKEY_LOCAL_MACHINE\Software:
// the one REGEDIT imports into and Windows' logon reads, on 64-bit Windows the
// 64-bit one also for the i686 build, which WOW64 shows a copy of its own
// unless it asks. 32-bit Windows has one registry. Each case writes values of
// its own into both views, the 64-bit one last, reads them through the
// program's own code and removes them again.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "app/all_users.h"
#include "app/platform_win32.h"
#include "app/win32_text.h"
#include "machine/live_registry.h"
#include "win32/handles.h"

namespace kwetro {
namespace {

// Told apart without asking the process about WOW64, as the code under test
// does.
bool SixtyFourBitWindows() {
  SYSTEM_INFO info = {};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
         info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
}

const wchar_t kRunOnce[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const wchar_t kOwnKey[] = L"Software\\KwetroViewCheck";

// Opens (creating when asked) a key of HKEY_LOCAL_MACHINE in one view.
UniqueKey Open(REGSAM view, const std::wstring& key, REGSAM rights, bool create = false) {
  HKEY handle = nullptr;
  const LONG result =
      create ? RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, rights | view,
                               nullptr, &handle, nullptr)
             : RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, rights | view, &handle);
  return UniqueKey(result == ERROR_SUCCESS ? handle : nullptr);
}

void Write(REGSAM view, const std::wstring& key, const wchar_t* name, const std::wstring& data) {
  const UniqueKey opened = Open(view, key, KEY_SET_VALUE, true);
  ASSERT_TRUE(opened.Get()) << "cannot create HKLM\\" << Narrow(key);
  ASSERT_EQ(
      RegSetValueExW(opened.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
      ERROR_SUCCESS);
}

std::optional<std::wstring> Read(REGSAM view, const std::wstring& key, const wchar_t* name) {
  const UniqueKey opened = Open(view, key, KEY_QUERY_VALUE);
  wchar_t data[256] = {};
  DWORD size = sizeof data - sizeof(wchar_t), type = 0;
  if (!opened.Get() || RegQueryValueExW(opened.Get(), name, nullptr, &type,
                                        reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(data);
}

// The key and its values, from both views (a key that is not there is no
// failure).
void Remove(const std::wstring& parent, const std::wstring& child) {
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    const UniqueKey opened = Open(view, parent, KEY_ALL_ACCESS);
    if (opened.Get()) RegDeleteKeyW(opened.Get(), child.c_str());
  }
}

std::string Utf8OfStored(const machine::RegData& data) {
  std::wstring text(data.bytes.size() / 2, L'\0');
  data.bytes.copy(reinterpret_cast<char*>(&text[0]), text.size() * 2);
  return Narrow(text.c_str());
}

TEST(RegistryView, StartupCommandsLandWhereTheLogonReadsThem) {
  Win32Platform platform;
  ASSERT_TRUE(platform.WriteStartupCommands({{"KwetroViewCheck", "CMD /C REM Кветро"}}));
  const auto native = Read(KEY_WOW64_64KEY, kRunOnce, L"KwetroViewCheck");
  const auto redirected = Read(KEY_WOW64_32KEY, kRunOnce, L"KwetroViewCheck");
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
    if (const UniqueKey key = Open(view, kRunOnce, KEY_SET_VALUE); key.Get())
      RegDeleteValueW(key.Get(), L"KwetroViewCheck");
  ASSERT_TRUE(native) << "not in the registry the logon reads";
  EXPECT_EQ(Narrow(*native), "CMD /C REM Кветро");
  if (SixtyFourBitWindows()) {
    EXPECT_FALSE(redirected) << "written into the 32-bit programs' copy";
  }
}

// The Active Setup entry's version, which a deployment reads to count on from
// it, and every value the live audit reads.
TEST(RegistryView, MachineStringsAndTheLiveReaderSeeTheNativeRegistry) {
  const std::wstring entry = Widen(kActiveSetupKey);
  const std::wstring components = entry.substr(0, entry.rfind(L'\\'));
  const std::wstring ownEntry = components + L"\\KwetroViewCheck";
  const std::wstring onlyRedirected = std::wstring(kOwnKey) + L"\\OnlyIn32BitView";
  Write(KEY_WOW64_32KEY, ownEntry, L"Version", L"1,2,3,4");
  Write(KEY_WOW64_64KEY, ownEntry, L"Version", L"2024,5,6,7");
  Write(KEY_WOW64_32KEY, kOwnKey, L"Value", L"32-bit view");
  Write(KEY_WOW64_64KEY, kOwnKey, L"Value", L"native registry");
  Write(KEY_WOW64_32KEY, onlyRedirected, L"Value", L"32-bit view");

  Win32Platform platform;
  const std::string version = platform.MachineString(Narrow(ownEntry), "Version");
  const machine::LiveRegistry live("");
  machine::RegData data;
  const machine::Found value =
      live.Value(undo::Root::kLocalMachine, u"Software\\KwetroViewCheck", u"Value", data);
  const machine::Found onlyThere =
      live.Key(undo::Root::kLocalMachine, u"Software\\KwetroViewCheck\\OnlyIn32BitView");

  Remove(components, L"KwetroViewCheck");
  Remove(kOwnKey, L"OnlyIn32BitView");
  Remove(L"Software", L"KwetroViewCheck");

  EXPECT_EQ(version, "2024,5,6,7");
  ASSERT_EQ(value, machine::Found::kPresent);
  EXPECT_EQ(data.type, static_cast<std::uint32_t>(REG_SZ));
  EXPECT_EQ(Utf8OfStored(data), "native registry");
  EXPECT_EQ(onlyThere, SixtyFourBitWindows() ? machine::Found::kAbsent : machine::Found::kPresent);
}

}  // namespace
}  // namespace kwetro
