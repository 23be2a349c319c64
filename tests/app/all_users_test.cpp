// The user settings for every user: the user's part of hkcu.reg (the golden
// user.reg files hold it for whole scripts), the Active Setup version and the
// registration file.
#include "app/all_users.h"

#include <gtest/gtest.h>

#include "options/text_encoding.h"

namespace kwetro::testing {
namespace {

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text.append(line).append("\r\n");
  return text;
}

// A block of other keys goes whole, value continuations too; a block that
// mixes roots keeps its HKEY_CURRENT_USER keys and its comment.
TEST(UserPart, KeepsTheFrameAndTheCurrentUserKeysOfEachBlock) {
  const std::string frame =
      Lines({"Windows Registry Editor Version 5.00", "", ";---", "; S", ";---", ""});
  const std::string kept = Lines({"[HKEY_CURRENT_USER\\A]", "; a", "\"x\"=dword:00000001", ""});
  const std::string script =
      frame + kept +
      Lines({"[HKEY_USERS\\.DEFAULT\\B]", "; b", "\"y\"=hex(2):41,00,\\", "00,00", "",
             "[-HKEY_CLASSES_ROOT\\C]", "[-HKEY_CURRENT_USER\\D]", "; c", "",
             "[HKEY_CLASSES_ROOT\\E]", "; e", "@=\"{1}\"", "", "[HKEY_CURRENT_USERS\\F]", ""});
  EXPECT_EQ(UserPart(script), frame + kept + Lines({"[-HKEY_CURRENT_USER\\D]", "; c", ""}));
}

TEST(SetupVersion, ReadWrittenRaisedAndChosen) {
  const struct {
    const char* text;
    const char* read;  // as written again; nullptr: refused
  } reads[] = {{"2025,1107,1530,12", "2025,1107,1530,12"},
               {"1", "1,0,0,0"},
               {"4,0", "4,0,0,0"},
               {"1,2,3,4,5", nullptr},
               {"1.2.3.4", nullptr},
               {"", nullptr},
               {"1,,2", nullptr},
               {"2,", nullptr},
               {"20251107153012", nullptr}};
  for (const auto& r : reads) {
    SetupVersion v;
    EXPECT_EQ(SetupVersion::Parse(r.text, v), r.read != nullptr) << r.text;
    if (r.read) {
      EXPECT_EQ(v.Text(), r.read) << r.text;
    }
  }
  SetupVersion v;
  ASSERT_TRUE(SetupVersion::Parse("1,2,65535,65535", v));
  EXPECT_EQ(v.Next().Text(), "1,3,0,0");

  std::tm at{};
  at.tm_year = 2025 - 1900, at.tm_mon = 10, at.tm_mday = 7;
  at.tm_hour = 9, at.tm_min = 5, at.tm_sec = 2;
  const struct {
    const char* registered;
    const char* chosen;
  } choices[] = {{"", "2025,1107,905,2"},
                 {"2025,1107,905,1", "2025,1107,905,2"},
                 {"2025,1107,905,2", "2025,1107,905,3"},
                 {"2030", "2030,0,0,1"},
                 {"new", "2025,1107,905,2"}};
  for (const auto& c : choices)
    EXPECT_EQ(NewSetupVersion(at, c.registered).Text(), c.chosen) << c.registered;
}

TEST(RegistrationScript, TheEntryAndTheMarkOfTheUserWhoImportsIt) {
  SetupVersion v;
  ASSERT_TRUE(SetupVersion::Parse("2025,1107,1530,12", v));
  EXPECT_EQ(
      Cp1251ToUtf8(RegistrationScript(v)),
      Lines(
          {"Windows Registry Editor Version 5.00", "",
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\Kwetro]",
           "; Настройки пользователя - каждому пользователю, и новым тоже",
           "@=\"Kwetro - настройки пользователя\"",
           "\"StubPath\"=\"CMD /C REGEDIT /E \\\"%USERPROFILE%\\\\Kwetro-backup.reg\\\" "
           "HKEY_CURRENT_USER & REGEDIT /S \\\"%ALLUSERSPROFILE%\\\\Kwetro\\\\user.reg\\\"\"",
           "\"Version\"=\"2025,1107,1530,12\"", "\"IsInstalled\"=dword:00000001", "",
           "[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\Kwetro]",
           "; Кто импортирует этот файл, уже получил hkcu.reg: Active Setup его пропустит",
           "\"Version\"=\"2025,1107,1530,12\"", ""}));
}

}  // namespace
}  // namespace kwetro::testing
