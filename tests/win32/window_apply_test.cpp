// OK and Cancel in the real window: an interactive Apply writes what
// kwetro-cli writes for the same selection; Cancel writes nothing; a deployed
// copy counts down, registers its start-up commands and removes itself.
#include "window_harness.h"

namespace kwetro::testing {
namespace {

const wchar_t kRunOnce[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const wchar_t* const kStartupNames[] = {L"Reg_0", L"Reg_1", L"Reg_2",
                                        L"Reg_3", L"Reg_4", L"Reg-Del"};

std::string ExeFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return Narrow(folder.substr(0, folder.find_last_of(L'\\')));
}

// kwetro-cli.exe of the same build: beside this program or one folder up.
std::string CliPath() {
  const std::string here = ExeFolder();
  for (const std::string& candidate : {here + "\\kwetro-cli.exe", here + "\\..\\kwetro-cli.exe"})
    if (FileExists(candidate)) return candidate;
  return {};
}

DWORD RunProgram(const std::string& commandLine) {
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

std::wstring RunOnceValue(const wchar_t* name) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunOnce, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return L"<no key>";
  wchar_t data[2048] = {};
  DWORD size = sizeof data - sizeof(wchar_t), type = 0;
  const LONG status =
      RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return L"<none>";
  return type == REG_SZ ? std::wstring(data) : L"<not REG_SZ>";
}

void ClearRunOnce() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunOnce, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  for (const wchar_t* name : kStartupNames) RegDeleteValueW(key, name);
  RegCloseKey(key);
}

std::string Expanded(const char* text) { return Win32Platform().ExpandEnvironment(text); }

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    Sleep(50);
  }
  return true;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Widen(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(Narrow(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

TEST_F(WindowTest, InteractiveApplyWritesWhatTheCliWritesForTheSameSelection) {
  const std::string cli = CliPath();
  ASSERT_FALSE(cli.empty()) << "kwetro-cli.exe not found beside " << ExeFolder();
  Open();
  ClickUntil("sCheckBox_1_9", cbChecked);
  ClickUntil("sCheckBox_1_4", cbGrayed);
  SelectPage("PageControl1", 1);
  ClickUntil("pCheckBox_4_1", cbChecked);
  SelectPage("PageControl1", 4);
  ClickUntil("srCheckBox_1_1", cbUnchecked);
  HWND ok = window_->OkButton();
  RECT rc;
  GetClientRect(ok, &rc);
  ClickAt(ok, rc.right / 2, rc.bottom / 2);

  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(GetFocus(), window_->CancelButton());
  EXPECT_EQ(ended_, 0);
  const std::string ini = folder_ + "\\Kwetro.ini";
  ASSERT_TRUE(FileExists(ini));
  ASSERT_TRUE(FileExists(folder_ + "\\hkcu.reg"));
  ASSERT_TRUE(FileExists(folder_ + "\\hklm.reg"));

  const std::string out = folder_ + "\\cli";
  CreateDirectoryW(Widen(out).c_str(), nullptr);
  ASSERT_EQ(RunProgram("\"" + cli + "\" generate --settings \"" + ini + "\" --out \"" + out + "\""),
            0u);
  EXPECT_TRUE(SameBytes(ReadFile(folder_ + "\\hkcu.reg"), ReadFile(out + "\\hkcu.reg")));
  EXPECT_TRUE(SameBytes(ReadFile(folder_ + "\\hklm.reg"), ReadFile(out + "\\hklm.reg")));
  ASSERT_EQ(RunProgram("\"" + cli + "\" settings --settings \"" + ini + "\" --out \"" + out +
                       "\\Kwetro.ini\""),
            0u);
  EXPECT_TRUE(SameBytes(ReadFile(ini), ReadFile(out + "\\Kwetro.ini")));
}

TEST_F(WindowTest, ApplyThatCannotWriteShowsTheFileAndTheReason) {
  Open();
  CreateDirectoryW(Widen(folder_ + "\\hklm.reg").c_str(), nullptr);
  SendMessageW(window_->OkButton(), BM_CLICK, 0, 0);
  Pump(20);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_NE(errors_[0].find(Widen(folder_ + "\\hklm.reg")), std::wstring::npos) << errors_[0];
  EXPECT_TRUE(FileExists(folder_ + "\\hkcu.reg"));
}

TEST_F(WindowTest, CancelEndsTheProgramWithoutWritingAnything) {
  Open();
  ClickUntil("sCheckBox_1_2", cbChecked);
  HWND cancel = window_->CancelButton();
  RECT rc;
  GetClientRect(cancel, &rc);
  ClickAt(cancel, rc.right / 2, rc.bottom / 2);
  EXPECT_EQ(ended_, 1);
  EXPECT_TRUE(FilesIn(folder_).empty());
}

TEST_F(WindowTest, DeployedCopyCountsDownAppliesRegistersAndRemovesItself) {
  const std::string deployment = Expanded("%WINDIR%\\UPDKwetro");
  RemoveFolder(deployment);
  ASSERT_TRUE(CreateDirectoryW(Widen(deployment).c_str(), nullptr));
  folders_.push_back(deployment);
  ClearRunOnce();
  std::string reason;
  // The program file that the batch file removes; the window runs in this
  // test program, which starts in another folder.
  ASSERT_TRUE(WriteFileAtomically(deployment + "\\Kwetro.exe", "MZ", reason)) << reason;
  ASSERT_TRUE(WriteFileAtomically(deployment + "\\Kwetro.ini",
                                  "[Start]\r\nTimer=3\r\n\r\n[sCheckBox_1_9]\r\nChecked=1\r\n",
                                  reason));
  ASSERT_TRUE(WriteFileAtomically(deployment + "\\Custom.reg", "REGEDIT4\r\n\r\n", reason));
  platform_.modulePath = deployment + "\\Kwetro.exe";
  Open();
  EXPECT_FALSE(IsWindowEnabled(Control("RzURLLabel1")));

  std::vector<std::wstring> shown;
  platform_.onMessages = [&] {
    const std::wstring caption = TextOf(window_->OkButton());
    if (shown.empty() || shown.back() != caption) shown.push_back(caption);
  };
  const DWORD start = GetTickCount();
  while (!ended_ && GetTickCount() - start < 15000) platform_.ProcessMessages(20);
  platform_.onMessages = nullptr;
  ASSERT_EQ(ended_, 1) << "the countdown did not end the program";
  const std::vector<std::wstring> expected = {W("Применить"), W("Применить 2"), W("Применить 1"),
                                              W("Применить 0"), W("Применить")};
  EXPECT_EQ(shown, expected);
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(FileExists(deployment + "\\hkcu.reg"));
  EXPECT_TRUE(FileExists(deployment + "\\hklm.reg"));
  EXPECT_FALSE(FileExists(folder_ + "\\hkcu.reg"));
  EXPECT_FALSE(FileExists(deployment + "\\Kwetro.ini"));
  EXPECT_TRUE(State("sCheckBox_1_9") == cbChecked);

  const std::wstring folder = Widen(deployment);
  EXPECT_EQ(RunOnceValue(L"Reg_0"),
            L"REGEDIT /E \"" + Widen(Expanded("%ALLUSERSPROFILE%\\RegAfter.reg")) + L"\"");
  EXPECT_EQ(RunOnceValue(L"Reg_1"), L"REGEDIT /S \"" + folder + L"\\hkcu.reg\"");
  EXPECT_EQ(RunOnceValue(L"Reg_2"), L"REGEDIT /S \"" + folder + L"\\hklm.reg\"");
  EXPECT_EQ(RunOnceValue(L"Reg_3"), L"REGEDIT /S \"" + folder + L"\\Custom.reg\"");
  EXPECT_EQ(RunOnceValue(L"Reg_4"), L"<none>");
  EXPECT_EQ(RunOnceValue(L"Reg-Del"), L"CMD /C RD /S /Q %WINDIR%\\UPDKwetro");
  ClearRunOnce();

  // The batch file, run by the real command interpreter, removes the
  // program file and then itself.
  EXPECT_TRUE(WaitUntil([&] { return !FileExists(deployment + "\\Kwetro.exe"); }, 20000));
  EXPECT_TRUE(WaitUntil([&] { return !FileExists(deployment + "\\SelfDel.bat"); }, 10000));
}

}  // namespace
}  // namespace kwetro::testing
