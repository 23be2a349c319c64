// The rules the hive engine judges by, as tables: which headers and logs stop
// an apply, and in which hive file each key of a script lies.
#include <gtest/gtest.h>

#include "offline/hive_header.h"
#include "offline/routing.h"
#include "options/text_encoding.h"
#include "support/files.h"
#include "support/xp_image.h"
#include "undo/reg_names.h"

namespace kwetro::offline {
namespace {

using testing::Checksum;
using testing::PutWord;

// A log's first sector: the hive's header with type 1 and both sequence numbers set.
std::string Log(std::uint32_t first, std::uint32_t second, std::uint32_t type = 1,
                std::uint32_t time = 0) {
  std::string log = testing::EmptyHive().substr(0, 512);
  log.resize(kHeaderBytes);
  PutWord(log, 4, first);
  PutWord(log, 8, second);
  PutWord(log, 12, time);
  PutWord(log, 28, type);
  Checksum(log);
  return log.substr(0, 1024);
}

TEST(HiveRules, HeadersAndLogs) {
  const struct {
    const char* name;
    void (*change)(std::string&);
    HiveHeader::State state;
  } headers[] = {
      {"as written", [](std::string&) {}, HiveHeader::State::kClean},
      {"checksum 0 stored as 1 (Windows)",
       [](std::string& h) {
         Checksum(h);
         std::uint32_t sum = static_cast<unsigned char>(h[508]) |
                             static_cast<unsigned char>(h[509]) << 8 |
                             static_cast<unsigned char>(h[510]) << 16 |
                             static_cast<std::uint32_t>(static_cast<unsigned char>(h[511])) << 24;
         PutWord(h, 504, sum);  // a reserved word that makes the sum 0
         PutWord(h, 508, 1);
       },
       HiveHeader::State::kClean},
      {"sequence numbers differ",
       [](std::string& h) {
         PutWord(h, 4, 7);
         Checksum(h);
       },
       HiveHeader::State::kUnfinishedWrite},
      {"checksum wrong", [](std::string& h) { h[100] = 'x'; }, HiveHeader::State::kUnfinishedWrite},
      {"no signature", [](std::string& h) { h[0] = 'R'; }, HiveHeader::State::kNotHive},
      {"a log, not a hive",
       [](std::string& h) {
         PutWord(h, 28, 1);
         Checksum(h);
       },
       HiveHeader::State::kNotHive},
      {"version 2",
       [](std::string& h) {
         PutWord(h, 20, 2);
         Checksum(h);
       },
       HiveHeader::State::kNotHive},
      {"cut short", [](std::string& h) { h.resize(4000); }, HiveHeader::State::kNotHive},
  };
  for (const auto& c : headers) {
    std::string hive = testing::EmptyHive().substr(0, kHeaderBytes);
    c.change(hive);
    const HiveHeader header = ReadHiveHeader(hive);
    EXPECT_EQ(header.state, c.state) << c.name;
    EXPECT_EQ(header.what.empty(), c.state == HiveHeader::State::kClean) << c.name;
  }

  HiveHeader clean = ReadHiveHeader(testing::EmptyHive());  // sequence 1
  ASSERT_EQ(clean.sequence, 1u);
  std::string damagedLog = Log(2, 2);
  damagedLog[100] = 'x';
  const struct {
    const char* name;
    std::string log;
    bool newer;
  } logs[] = {
      {"empty", "", false},
      {"the hive's last write", Log(1, 1), false},
      {"an older write", Log(0, 0), false},
      {"a newer write", Log(2, 2), true},
      {"a newer write, new format", Log(5, 5, 6), true},
      {"a newer write of another time, left over", Log(5, 5, 1, 77), false},
      {"a newer write of another time, new format", Log(5, 5, 6, 77), true},
      {"a newer write whose log did not end", Log(3, 2), false},
      {"a newer write, log damaged", damagedLog, false},
      {"not a log", std::string(1024, 'x'), false},
  };
  for (const auto& c : logs) {
    std::string what;
    EXPECT_EQ(LogHoldsNewerWrite(c.log, clean, what), c.newer) << c.name;
    EXPECT_EQ(what.empty(), !c.newer) << c.name;
  }
}

TEST(HiveRules, WhereEachKeyLies) {
  const auto rows = testing::ReadTable("tests/offline/key_places.txt");
  EXPECT_EQ(rows.size(), 16u);
  const char* const names[] = {"system", "software", "default", "user"};
  for (const auto& row : rows) {
    const std::u16string key = Cp1251ToUtf16(row.at(0));
    undo::Root root;
    std::u16string_view path;
    ASSERT_TRUE(undo::SplitRoot(key, root, path)) << row[0];
    Place place;
    std::string why;
    const bool routed = Route(root, path, u"ControlSet002", place, why);
    EXPECT_EQ(routed, row.at(2) != "-") << row[0];
    EXPECT_EQ(why.empty(), routed) << row[0];
    if (!routed) continue;
    EXPECT_EQ(names[static_cast<int>(place.hive)], row[2]) << row[0];
    EXPECT_EQ(Utf16ToUtf8(place.path), row.at(1)) << row[0];
  }
}

}  // namespace
}  // namespace kwetro::offline
