// Where kwetro-cli audit --live and the window look for a key the model
// names: the classes as the machine holds them, as an export and a hive do,
// never the view Windows merges with the user's classes.
#include "machine/live_path.h"

#include <gtest/gtest.h>

#include "options/text_encoding.h"

namespace kwetro::machine {
namespace {

TEST(LivePath, EachRootIsReadWhereAnExportHoldsIt) {
  using undo::Root;
  const struct {
    Root root;
    const char16_t* path;
    const char16_t* user;
    Root opened;
    const char16_t* below;
  } cases[] = {
      {Root::kClassesRoot, u"CLSID\\{1}", u"", Root::kLocalMachine,
       u"Software\\Classes\\CLSID\\{1}"},
      {Root::kClassesRoot, u"", u"S-1-5-21-7", Root::kLocalMachine, u"Software\\Classes"},
      {Root::kCurrentUser, u"Console", u"", Root::kCurrentUser, u"Console"},
      {Root::kCurrentUser, u"Console", u"S-1-5-21-7", Root::kUsers, u"S-1-5-21-7\\Console"},
      {Root::kCurrentUser, u"", u"S-1-5-21-7", Root::kUsers, u"S-1-5-21-7"},
      {Root::kLocalMachine, u"SOFTWARE", u"S-1-5-21-7", Root::kLocalMachine, u"SOFTWARE"},
  };
  for (const auto& c : cases) {
    const LivePath live = LivePathOf(c.root, c.path, c.user);
    EXPECT_EQ(live.root, c.opened) << Utf16ToUtf8(c.path);
    EXPECT_EQ(live.path, c.below) << Utf16ToUtf8(c.path);
  }
}

}  // namespace
}  // namespace kwetro::machine
