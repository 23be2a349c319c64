#include "offline/routing.h"

#include "options/text_encoding.h"

namespace kwetro::offline {
namespace {

void Append(std::u16string& path, std::u16string_view component) {
  if (!path.empty()) path += u'\\';
  path += component;
}

// The path's components after the first skip of them, joined anew.
std::u16string Normal(std::u16string_view path, int skip = 0) {
  std::u16string normal;
  for (std::u16string_view component; undo::NextComponent(path, component);)
    if (skip-- <= 0) Append(normal, component);
  return normal;
}

std::u16string Rest(std::u16string_view path) { return Normal(path, 1); }

std::u16string First(std::u16string_view path) {
  std::u16string_view component;
  return undo::NextComponent(path, component) ? std::u16string(component) : std::u16string();
}

// The control set in place of CurrentControlSet at the front of a path below SYSTEM.
std::u16string InControlSet(std::u16string_view below, std::u16string_view controlSet) {
  if (!undo::EqualsIgnoringCase(First(below), u"CurrentControlSet")) return Normal(below);
  std::u16string path(controlSet);
  const std::u16string rest = Rest(below);
  if (!rest.empty()) Append(path, rest);
  return path;
}

}  // namespace

bool Route(undo::Root root, std::u16string_view path, std::u16string_view controlSet, Place& place,
           std::string& why) {
  const std::u16string first = First(path);
  const std::string name =
      Utf16ToUtf8(undo::RootName(root)) + (path.empty() ? std::string() : "\\" + Utf16ToUtf8(path));
  switch (root) {
    case undo::Root::kLocalMachine:
      if (undo::EqualsIgnoringCase(first, u"SYSTEM")) {
        place = {HiveKind::kSystem, InControlSet(Rest(path), controlSet)};
        return true;
      }
      if (undo::EqualsIgnoringCase(first, u"SOFTWARE")) {
        place = {HiveKind::kSoftware, Rest(path)};
        return true;
      }
      break;
    case undo::Root::kClassesRoot:
      place = {HiveKind::kSoftware, u"Classes"};
      Append(place.path, Normal(path));
      if (place.path.back() == u'\\') place.path.pop_back();
      return true;
    case undo::Root::kUsers:
      if (undo::EqualsIgnoringCase(first, u".DEFAULT")) {
        place = {HiveKind::kDefault, Rest(path)};
        return true;
      }
      break;
    case undo::Root::kCurrentUser:
      place = {HiveKind::kUser, Normal(path)};
      return true;
    case undo::Root::kCurrentConfig:
      place = {HiveKind::kSystem, InControlSet(u"CurrentControlSet\\Hardware Profiles\\Current\\" +
                                                   std::u16string(path),
                                               controlSet)};
      return true;
  }
  why = name +
        " is in no hive file of the system (only SYSTEM, SOFTWARE, HKEY_USERS\\.DEFAULT, "
        "HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG and HKEY_CURRENT_USER are)";
  return false;
}

}  // namespace kwetro::offline
