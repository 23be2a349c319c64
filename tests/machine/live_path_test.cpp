// Where kwetro-cli audit --live and the window look for a key the model
// names: the classes as the machine holds them, as an export and a hive do,
// never the view Windows merges with the user's classes.
#include "machine/live_path.h"

#include <gtest/gtest.h>

#include "options/text_encoding.h"
#include "support/files.h"
#include "undo/reg_names.h"

namespace kwetro::machine {
namespace {

TEST(LivePath, EachRootIsReadWhereAnExportHoldsIt) {
  const auto rows = testing::ReadTable("tests/machine/live_paths.txt");
  EXPECT_EQ(rows.size(), 6u);
  for (const auto& row : rows) {
    const std::u16string key = Cp1251ToUtf16(row.at(0));
    undo::Root root;
    std::u16string_view path;
    ASSERT_TRUE(undo::SplitRoot(key, root, path)) << row[0];
    const LivePath live = LivePathOf(root, path, Cp1251ToUtf16(row.at(1) == "-" ? "" : row[1]));
    std::u16string opened(undo::RootName(live.root));
    if (!live.path.empty()) opened += u"\\" + live.path;
    EXPECT_EQ(Utf16ToUtf8(opened), row.at(2)) << row[0] << ", " << row[1];
  }
}

}  // namespace
}  // namespace kwetro::machine
