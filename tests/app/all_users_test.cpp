// The user settings for every user: which keys each per-user file keeps, the
// mark of a selection and the Active Setup version. Whole files of whole
// selections are golden (tests/golden/*/user.reg, profiles.reg, and the
// registration with the command Active Setup runs, activesetup.reg).
#include "app/all_users.h"

#include <gtest/gtest.h>

#include "app/user_part.h"
#include "support/files.h"

namespace kwetro::testing {
namespace {

TEST(UserKeys, EachKeyLineKeptLeftOutOrMovedUnderTheHiveRoot) {
  const struct {
    const char* line;
    const char* user;  // kept in user.reg; "" left out
    const char* hive;  // as profiles.reg spells it; "" left out
  } rows[] = {
      {"[HKEY_CURRENT_USER\\Control Panel\\Desktop]", "[HKEY_CURRENT_USER\\Control Panel\\Desktop]",
       "[HKEY_USERS\\KwetroProfile\\Control Panel\\Desktop]"},
      {"[-HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\"
       "Favorites]",
       "[-HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\"
       "Favorites]",
       "[-HKEY_USERS\\KwetroProfile\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
       "MenuOrder\\Favorites]"},
      {"[hkey_current_user\\Environment]", "[hkey_current_user\\Environment]",
       "[HKEY_USERS\\KwetroProfile\\Environment]"},
      // The Policies keys, and what lies below them, in any case of letters.
      {"[HKEY_CURRENT_USER\\SOFTWARE\\Policies\\Microsoft\\Windows\\System\\Power]", "",
       "[HKEY_USERS\\KwetroProfile\\SOFTWARE\\Policies\\Microsoft\\Windows\\System\\Power]"},
      {"[HKEY_CURRENT_USER\\Software\\policies]", "",
       "[HKEY_USERS\\KwetroProfile\\Software\\policies]"},
      {"[-HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]", "",
       "[-HKEY_USERS\\KwetroProfile\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\"
       "Explorer]"},
      // Names that only begin like them are no Policies keys.
      {"[HKEY_CURRENT_USER\\Software\\PoliciesX]", "[HKEY_CURRENT_USER\\Software\\PoliciesX]",
       "[HKEY_USERS\\KwetroProfile\\Software\\PoliciesX]"},
      {"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Policies]",
       "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Policies]",
       "[HKEY_USERS\\KwetroProfile\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
       "Policies]"},
      // Other roots, and a root that only begins like HKEY_CURRENT_USER.
      {"[HKEY_USERS\\.DEFAULT\\Control Panel\\Keyboard]", "", ""},
      {"[-HKEY_CLASSES_ROOT\\CLSID\\{1}]", "", ""},
      {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Microsoft]", "", ""},
      {"[HKEY_CURRENT_USERS\\F]", "", ""},
  };
  const CurrentUserKeys user(false, kCurrentUserRoot), hive(true, kHiveRoot);
  for (const auto& row : rows) {
    std::string room;
    EXPECT_EQ(user.Keep(row.line, room), row.user) << row.line;
    EXPECT_EQ(hive.Keep(row.line, room), row.hive) << row.line;
  }
}

TEST(SelectionMark, FollowsTheUserSettingsAndNothingElse) {
  Selection built;
  const std::string mark = SelectionMark(built);
  EXPECT_EQ(mark.size(), 16u);
  EXPECT_EQ(mark.find_first_not_of("0123456789abcdef"), std::string::npos);
  // The same selection on another machine, on another day: the same mark.
  EXPECT_EQ(mark, "22d8ae47addff666");
  const auto changed = [&built](const char* option) {
    Selection other = built;
    TriState& state = other.options[static_cast<std::size_t>(OptionIndex(option))];
    state = state == cbChecked ? cbUnchecked : cbChecked;
    return SelectionMark(other);
  };
  // Machine-wide only (the taskbar's grouping): the user's settings stay.
  EXPECT_EQ(changed("pCheckBox_2_6"), mark);
  // The Start menu's sort order, which hklm.reg deletes in the profile.
  EXPECT_NE(changed("pCheckBox_2_11"), mark);
  // A Policies value, which user.reg leaves out, still tells selections apart.
  EXPECT_NE(changed("sCheckBox_1_2"), mark);
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
               {"20251107153012", nullptr},
               {"1,65535", "1,65535,0,0"},
               {"65536", nullptr},
               {"1,2,3,99999", nullptr}};
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

}  // namespace
}  // namespace kwetro::testing
