#include "machine/live_path.h"

namespace kwetro::machine {
namespace {

std::u16string Below(std::u16string_view key, std::u16string_view path) {
  std::u16string joined(key);
  if (!joined.empty() && !path.empty()) joined += u'\\';
  return joined.append(path);
}

}  // namespace

LivePath LivePathOf(undo::Root root, std::u16string_view path, std::u16string_view user) {
  switch (root) {
    case undo::Root::kClassesRoot:
      return {undo::Root::kLocalMachine, Below(u"Software\\Classes", path)};
    case undo::Root::kCurrentUser:
      if (!user.empty()) return {undo::Root::kUsers, Below(user, path)};
      break;
    case undo::Root::kLocalMachine:
    case undo::Root::kUsers:
    case undo::Root::kCurrentConfig:
      break;
  }
  return {root, std::u16string(path)};
}

}  // namespace kwetro::machine
