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
  const auto rows = ReadTable("tests/app/user_keys.txt");
  EXPECT_EQ(rows.size(), 12u);
  const CurrentUserKeys user(false, kCurrentUserRoot), hive(true, kHiveRoot);
  for (const auto& row : rows) {
    std::string room;
    EXPECT_EQ(user.Keep(row.at(0), room), row.at(1) == "-" ? "" : row[1]) << row[0];
    EXPECT_EQ(hive.Keep(row.at(0), room), row.at(2) == "-" ? "" : row[2]) << row[0];
  }
}

TEST(SelectionMark, FollowsTheUserSettingsAndNothingElse) {
  Selection built;
  // The mark's exact text is golden (tests/golden/*/user.reg, profiles.reg).
  const std::string mark = SelectionMark(built);
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
  std::tm at{};
  at.tm_year = 2025 - 1900, at.tm_mon = 10, at.tm_mday = 7;
  at.tm_hour = 9, at.tm_min = 5, at.tm_sec = 2;
  const auto rows = ReadTable("tests/app/setup_versions.txt");
  EXPECT_EQ(rows.size(), 17u);
  for (const auto& row : rows) {
    SetupVersion v;
    if (row.at(0) == "chosen") {
      EXPECT_EQ(NewSetupVersion(at, row.at(1)).Text(), row.at(2)) << row[1];
    } else {
      EXPECT_EQ(SetupVersion::Parse(row.at(1), v), row.at(2) != "-") << row[1];
      EXPECT_EQ(row[2] == "-" ? "-" : v.Text(), row[2]) << row[1];
    }
  }
  SetupVersion v;
  ASSERT_TRUE(SetupVersion::Parse("1,2,65535,65535", v));
  EXPECT_EQ(v.Next().Text(), "1,3,0,0");
}

}  // namespace
}  // namespace kwetro::testing
