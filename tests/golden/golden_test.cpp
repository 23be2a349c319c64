// Whole scripts, byte for byte, for the selections of tests/golden (see its
// README): together they put every option in each state, every drop-down at
// every index (-1 and out of range too), the spinners at and past their edges
// and the services preset in each state. KWETRO_UPDATE_GOLDEN=1 rewrites the
// files from the program's output instead of comparing, so that a deliberate
// change shows as a diff to review.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "app/settings_file.h"
#include "catalogue/generators.h"
#include "support/files.h"

namespace kwetro::testing {
namespace {

// Where two texts part: the line number and both lines, in UTF-8.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::size_t at = 0, line = 1;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
    if (expected[at++] == '\n') ++line;
  const auto lineAt = [at](const std::string& text) {
    const std::size_t begin = text.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = begin == std::string::npos || at == 0 ? 0 : begin + 1;
    return Cp1251ToUtf8(text.substr(from, text.find('\r', from) - from));
  };
  return "line " + std::to_string(line) + "\n  expected: " + lineAt(expected) +
         "\n  written:  " + lineAt(actual);
}

void Compare(const std::filesystem::path& file, const std::string& bytes, bool update) {
  if (update) WriteBytes(file, bytes);
  const std::string expected = ReadBytes(file);
  EXPECT_TRUE(expected == bytes) << file.string() << " differs at "
                                 << FirstDifference(expected, bytes);
}

TEST(GoldenScripts, EachSelectionWritesItsScriptsByteForByte) {
  const char* switchValue = std::getenv("KWETRO_UPDATE_GOLDEN");
  const bool update = switchValue && std::strcmp(switchValue, "1") == 0;
  const std::filesystem::path root = SourcePath("tests/golden");
  // The built-in selection's fresh settings file is the built-in folder's input.
  Compare(root / "built-in" / "selection.ini", StoreSettings(Selection(), ""), update);
  int selections = 0;
  for (const auto& entry : std::filesystem::directory_iterator(root)) {
    if (!entry.is_directory()) continue;
    ++selections;
    Selection selection;
    RestoreSettings(ReadBytes(entry.path() / "selection.ini"), selection);
    Compare(entry.path() / "hkcu.reg", BuildHkcuScript(selection).Bytes(), update);
    Compare(entry.path() / "hklm.reg", BuildHklmScript(selection).Bytes(), update);
  }
  EXPECT_EQ(selections, 6) << "the source tree is out of reach at " << root.string();
}

// The value mends, each a stretch of lines where a selection puts it (the
// whole files are pinned above; these say what must never come back).
TEST(GoldenScripts, TheMendedValuesStandWhereTheyBelong) {
  const auto stretch = [](std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += Utf8ToCp1251(line) + "\r\n";
    return text;
  };
  const struct {
    const char* file;
    std::string lines;
  } mends[] = {
      // Backslashes and quotes in string data escaped, as REGEDIT reads them.
      {"all-unchecked/hklm.reg", stretch({R"("Posix"="%SystemRoot%\\system32\\psxss.exe")"})},
      {"all-checked/hklm.reg",
       stretch({R"("RegPath"="SOFTWARE\\Policies\\Microsoft\\Windows\\System\\Shutdown")",
                R"("Text"="Кнопка\"Спящий режим\" в диалоге выключения ПК")"})},
      {"all-checked/hkcu.reg", stretch({R"("MRUList"="abcdefghij")", R"("a"="dxdiag\\1")"})},
      // TEMP and TMP back as expandable strings.
      {"all-unchecked/hkcu.reg",
       stretch(
           {R"("TEMP"=hex(2):25,00,55,00,53,00,45,00,52,00,50,00,52,00,4f,00,46,00,49,00,4c,\)",
            R"(00,45,00,25,00,5c,00,4c,00,6f,00,63,00,61,00,6c,00,20,00,53,00,65,00,74,00,\)",
            R"(74,00,69,00,6e,00,67,00,73,00,5c,00,54,00,65,00,6d,00,70,00,00,00)",
            R"("TMP"=hex(2):25,00,55,00,53,00,45,00,52,00,50,00,52,00,4f,00,46,00,49,00,4c,\)"})},
      // NumLock where the logon screen reads it, as a string.
      {"all-checked/hkcu.reg",
       stretch({R"([HKEY_USERS\.DEFAULT\Control Panel\Keyboard])",
                "; Включить NumLock при загрузке - (Да)", R"("InitialKeyboardIndicators"="2")"})},
      // The Internet Explorer policy in a block of its own under Policies\Explorer.
      {"all-unchecked/hklm.reg",
       stretch(
           {R"("verbosestatus"=dword:00000000)", "",
            R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer])",
            "; Отключить поиск в сети Интернет при открытии файла с неизвестными расширением - "
            "(Нет)",
            R"("NoInternetOpenWith"=-)", ""})},
      // The two connection values under Internet Settings, where WinInet reads them.
      {"all-checked/hkcu.reg",
       stretch(
           {R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings])",
            "; Увеличить число одновременных закачек в IE до 10 (по умолчанию 2) - (Да)",
            R"("MaxConnectionsPerServer"=dword:0000000a)"})},
      // The small memory dump the caption promises.
      {"all-checked/hklm.reg",
       stretch({"; Записать отладочную информацию (малый дамп ядра 64 Кб) - (Да)",
                R"("CrashDumpEnabled"=dword:00000003)"})},
      // The built-in selection leaves autorun and Automatic Updates alone.
      {"built-in/hklm.reg",
       stretch(
           {R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer])",
            "; Автозапуск (NoDriveTypeAutoRun; стандарта XP, 0x91 со слежением за CD, в "
            "списке нет; не выбрано - не менять)",
            ""})},
  };
  for (const auto& mend : mends)
    EXPECT_NE(ReadBytes(SourcePath("tests/golden") / mend.file).find(mend.lines), std::string::npos)
        << mend.file << ":\n"
        << Cp1251ToUtf8(mend.lines);
  EXPECT_EQ(ReadBytes(SourcePath("tests/golden/built-in/hklm.reg")).find("\"AUOptions\"="),
            std::string::npos);
}

}  // namespace
}  // namespace kwetro::testing
